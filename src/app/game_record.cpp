// The record of the game under way, and the record played back when one is watched.
#include "app/game_record.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/clock.h"
#include "app/key_hook.h"
#include "app/overlay.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "platform/system.h"
#include "store/kept_replays.h"
#include "store/replay_file.h"
#include "store/say.h"
#include "world/random.h"
#include "world/state.h"

namespace {

constexpr size_t none = SIZE_MAX;

Replay record;
bool begun = false;    // a game is under way (watched: its start was taken up)
bool too_long = false; // the game outgrew what is kept; it is recorded no further
size_t pending = none; // where the message being handled begins in the events
// The keys released and the clicks of the game, the message being handled among them: a game
// the player did nothing in (started and left at once) is not kept over the last one played.
int32_t player_inputs = 0;
bool pending_is_input = false;
uint64_t passes = 0;
ReplayCursor cursor;
bool pass_read_clock = false; // watching: the pass under way took a reading, first this one
int64_t pass_reading = 0;
bool astray = false;

// The messages the logic acts on, as the record names them.
constexpr std::pair<MessageKind, ReplayInput> logic_inputs[] = {
    {MessageKind::key_pressed, ReplayInput::key_pressed},
    {MessageKind::key_released, ReplayInput::key_released},
    {MessageKind::sys_key_pressed, ReplayInput::sys_key_pressed},
    {MessageKind::sys_key_released, ReplayInput::sys_key_released},
    {MessageKind::mouse_move, ReplayInput::mouse_move},
    {MessageKind::left_button_down, ReplayInput::left_button_down},
    {MessageKind::activate_app, ReplayInput::activate_app},
};

// The record's name of a message the logic acts on; a pass for any other.
ReplayInput input_of(MessageKind kind) {
    for (const auto& [message, input] : logic_inputs)
        if (message == kind)
            return input;
    return ReplayInput::pass;
}

MessageKind kind_of(ReplayInput input) {
    for (const auto& [message, recorded] : logic_inputs)
        if (recorded == input)
            return message;
    return MessageKind::paint;
}

bool recording() {
    return playing == Playing::live && begun && !too_long;
}

// A game longer than any kept is dropped from the record, once.
void check_length() {
    if (record.events.size() + record.readings.size() < most_replay_bytes - 4096 &&
        passes < most_replay_passes)
        return;
    too_long = true;
    record = Replay{};
    say("this game is too long to be kept as a replay");
}

// The record so far, ended where the game stands now, without the message being handled (the
// one that ends the game: F2, F12).
std::vector<uint8_t> snapshot() {
    Replay copy = record;
    if (pending != none)
        copy.events.resize(pending);
    copy.end = game_end_state();
    return encode_replay(copy);
}

void take_up_start(const ReplayStart& start) {
    if (start.app_active != 0) {
        install_key_hook();
        app_active = 1;
    }
    for (int32_t scan = 0; scan < 256; ++scan)
        key_down[scan] = (start.keys_down[scan / 8] >> (scan % 8)) & 1;
    views[main_view].mouse_x = start.mouse_x;
    views[main_view].mouse_y = start.mouse_y;
    gun_model.angle_x = start.gun_pitch;
    gun_model.angle_y = start.gun_yaw;
    overlay_changed_at = start.overlay_changed_at;
    overlay_colour = start.overlay_colour;
    if (start.music_started != 0)
        start_music_playing();
    set_volumes(start.music_volume, start.sound_volume);
    decode_hiscores(start.table);
    astray = astray || random_state != start.random_state;
}

} // namespace

int64_t game_counter() {
    if (playing == Playing::live) {
        const int64_t now = perf_counter();
        if (recording()) {
            add_reading(&record, now);
            check_length();
        }
        return now;
    }
    int64_t reading = cursor.reading;
    if (!next_reading(record, &cursor, &reading))
        astray = true;
    else if (!pass_read_clock)
        pass_reading = reading;
    pass_read_clock = true;
    return reading;
}

int64_t game_frequency() {
    return playing != Playing::live ? record.start.frequency : perf_frequency();
}

bool game_music_finished() {
    if (playing != Playing::live)
        return take_music_end(record, &cursor);
    const bool finished = music_is_finished(music_module);
    if (finished && recording())
        add_music_end(&record);
    return finished;
}

void handle_message(const Message& message) {
    pending = none;
    const ReplayInput input = input_of(message.kind);
    pending_is_input = false;
    if (recording() && input != ReplayInput::pass && message.window == views[main_view].window) {
        pending = add_message(&record, input, message.wparam, message.lparam);
        pending_is_input = input == ReplayInput::key_released ||
                           input == ReplayInput::sys_key_released ||
                           input == ReplayInput::left_button_down;
        player_inputs += pending_is_input ? 1 : 0;
    }
    dispatch_message(message);
    pending = none;
    pending_is_input = false;
}

void note_pass() {
    ++passes;
    pass_read_clock = false;
    if (recording()) {
        add_pass(&record);
        check_length();
    }
}

void start_game_record() {
    if (playing != Playing::live) {
        astray = astray || begun; // a record holds one game
        begun = true;
        return;
    }
    keep_last_game();
    record = Replay{};
    begun = true;
    too_long = false;
    passes = 0;
    player_inputs = 0;
}

void note_game_start() {
    if (playing != Playing::live) {
        if (!astray)
            take_up_start(record.start);
        return;
    }
    ReplayStart& start = record.start;
    start.frequency = clock_frequency;
    start.random_state = random_state;
    start.overlay_changed_at = overlay_changed_at;
    start.overlay_colour = overlay_colour;
    start.app_active = static_cast<uint8_t>(app_active);
    start.music_started = music_track >= 0 ? 1 : 0;
    std::fill(std::begin(start.keys_down), std::end(start.keys_down), 0);
    for (int32_t scan = 0; scan < 256; ++scan)
        if (key_down[scan] != 0)
            start.keys_down[scan / 8] |= static_cast<uint8_t>(1 << (scan % 8));
    start.mouse_x = views[main_view].mouse_x;
    start.mouse_y = views[main_view].mouse_y;
    start.gun_pitch = gun_model.angle_x;
    start.gun_yaw = gun_model.angle_y;
    start.music_volume = music_volume;
    start.sound_volume = sound_volume;
    encode_hiscores(start.table);
}

// A game left without a key or a click is kept only where no game played last is.
void keep_last_game() {
    const bool played = player_inputs > (pending_is_input ? 1 : 0);
    if (recording() && (played || !last_replay_kept()))
        keep_last_replay(snapshot());
    begun = false;
}

void keep_named_game(int32_t rank) {
    if (recording())
        keep_ranked_replay(rank, snapshot());
}

void reset_game_record() {
    record = Replay{};
    playing = Playing::live;
    begun = too_long = astray = pending_is_input = pass_read_clock = false;
    pending = none;
    passes = 0;
    player_inputs = 0;
    cursor = {};
}

void play_back(const Replay& replay, bool fast) {
    playing = fast ? Playing::watched_fast : Playing::watched;
    record = replay;
    cursor = {};
    begun = astray = pass_read_clock = false;
    passes = 0;
}

bool first_reading_of_pass(int64_t* reading) {
    *reading = pass_reading;
    return pass_read_clock;
}

RecordedStep next_recorded_step(Message* message) {
    ReplayEvent event{};
    while (next_event(record, &cursor, &event)) {
        if (event.input == ReplayInput::pass)
            return RecordedStep::pass;
        if (event.input == ReplayInput::music_end) {
            astray = true; // the game did not look for it where it was found
            continue;
        }
        *message = {views[main_view].window, kind_of(event.input), event.wparam, event.lparam};
        return RecordedStep::message;
    }
    int64_t unread = 0; // a reading the game never asked for: it went another way
    astray = astray || next_reading(record, &cursor, &unread);
    return RecordedStep::end;
}

bool playback_went_astray() {
    return astray;
}

ReplayEnd game_end_state() {
    ReplayEnd end{};
    end.points = points;
    end.level = level;
    end.hits = hits;
    end.shots = shots_fired;
    end.accuracy = accuracy;
    end.random_state = random_state;
    end.passes = passes;
    encode_hiscores(end.table);
    return end;
}

const ReplayStart& recorded_start() {
    return record.start;
}

const ReplayEnd& recorded_end() {
    return record.end;
}
