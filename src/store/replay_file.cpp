// Replays as bytes: a magic word and the version, the fixed start and end, the events and the
// readings as variable-length numbers, and a checksum of everything before it.
#include "store/replay_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "store/le_bytes.h"
#include "store/whole_file.h"

namespace {

constexpr uint8_t magic[8] = {'Z', 'A', 'R', 'N', 'O', 'K', 'R', 'P'};

// The fixed fields in their order; one list serves writing and reading.
template <typename Io, typename Start> void start_fields(Io& io, Start& s) {
    io.field(s.frequency);
    io.field(s.random_state);
    io.field(s.overlay_changed_at);
    io.field(s.overlay_colour);
    io.field(s.app_active);
    io.field(s.music_started);
    io.field(s.keys_down);
    io.field(s.mouse_x);
    io.field(s.mouse_y);
    io.field(s.gun_pitch);
    io.field(s.gun_yaw);
    io.field(s.music_volume);
    io.field(s.sound_volume);
    io.field(s.table);
}

template <typename Io, typename End> void end_fields(Io& io, End& e) {
    io.field(e.points);
    io.field(e.level);
    io.field(e.hits);
    io.field(e.shots);
    io.field(e.accuracy);
    io.field(e.random_state);
    io.field(e.passes);
    io.field(e.table);
}

struct Writer {
    std::vector<uint8_t>* out;
    template <typename T> void field(const T& value) {
        uint64_t bits = 0;
        if constexpr (std::is_floating_point_v<T>)
            bits = std::bit_cast<uint32_t>(value);
        else
            bits = static_cast<uint64_t>(value);
        for (size_t i = 0; i < sizeof(T); ++i)
            out->push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
    template <size_t N> void field(const uint8_t (&bytes)[N]) {
        out->insert(out->end(), bytes, bytes + N);
    }
};

// Reads fields that are known to be there.
struct Reader {
    const uint8_t* at;
    template <typename T> void field(T& value) {
        uint64_t bits = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            bits |= static_cast<uint64_t>(at[i]) << (8 * i);
        at += sizeof(T);
        if constexpr (std::is_floating_point_v<T>)
            value = std::bit_cast<float>(static_cast<uint32_t>(bits));
        else
            value = static_cast<T>(bits);
    }
    template <size_t N> void field(uint8_t (&bytes)[N]) {
        std::memcpy(bytes, at, N);
        at += N;
    }
};

// How many bytes the fixed fields take.
struct Counter {
    size_t size = 0;
    template <typename T> void field(const T&) { size += sizeof(T); }
};

size_t fixed_size() {
    Counter counter;
    ReplayStart start{};
    ReplayEnd end{};
    start_fields(counter, start);
    end_fields(counter, end);
    return sizeof magic + 4 + counter.size;
}

// Unsigned numbers seven bits a byte, the lowest first; the top bit says that more follow.
void put_number(std::vector<uint8_t>* out, uint64_t value) {
    for (; value >= 0x80; value >>= 7)
        out->push_back(static_cast<uint8_t>(value | 0x80));
    out->push_back(static_cast<uint8_t>(value));
}

// False when the bytes end first or the number is longer than 64 bits.
bool get_number(const std::vector<uint8_t>& in, size_t* at, uint64_t* value) {
    *value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (*at >= in.size())
            return false;
        const uint8_t byte = in[(*at)++];
        *value |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

bool is_message(uint8_t tag) {
    return tag >= static_cast<uint8_t>(ReplayInput::key_pressed) &&
           tag <= static_cast<uint8_t>(ReplayInput::activate_app);
}

// Reads the event at `at`; false when it is malformed.
bool read_event(const std::vector<uint8_t>& events, size_t* at, ReplayEvent* event, uint64_t* run) {
    const uint8_t tag = events[(*at)++];
    event->input = static_cast<ReplayInput>(tag);
    event->wparam = event->lparam = 0;
    *run = 0;
    if (event->input == ReplayInput::music_end)
        return true;
    if (event->input == ReplayInput::pass)
        return get_number(events, at, run) && *run > 0 && *run <= most_replay_passes;
    uint64_t wparam = 0, lparam = 0;
    if (!is_message(tag) || !get_number(events, at, &wparam) || !get_number(events, at, &lparam) ||
        wparam > UINT32_MAX || lparam > UINT32_MAX)
        return false;
    event->wparam = static_cast<uint32_t>(wparam);
    event->lparam = static_cast<uint32_t>(lparam);
    return true;
}

// The events well formed, each pass's within what a pass can meet, the passes as many as the
// end says; the readings well formed, each within a week of the last.
bool streams_are_sound(const Replay& replay, std::string* why) {
    uint64_t passes = 0, run = 0;
    uint32_t clicks = 0, messages = 0, music_ends = 0; // since the last pass
    ReplayEvent event{};
    for (size_t at = 0; at < replay.events.size();) {
        if (!read_event(replay.events, &at, &event, &run)) {
            *why = "its record of the game is damaged";
            return false;
        }
        passes += run;
        if (passes > most_replay_passes) {
            *why = "it is longer than any game the game keeps";
            return false;
        }
        if (event.input == ReplayInput::pass)
            clicks = messages = music_ends = 0;
        else if (event.input == ReplayInput::music_end)
            ++music_ends;
        else
            ++messages;
        clicks += event.input == ReplayInput::left_button_down ? 1 : 0;
        if (clicks > most_clicks_per_pass || messages > most_messages_per_pass ||
            music_ends > most_music_ends_per_pass) {
            *why = "more happens in it between two frames than in any game";
            return false;
        }
    }
    if (passes != replay.end.passes) {
        *why = "its record of the game is incomplete";
        return false;
    }
    ReplayCursor cursor;
    int64_t reading = 0;
    const uint64_t longest = static_cast<uint64_t>(replay.start.frequency) *
                             static_cast<uint64_t>(most_reading_step_seconds);
    for (bool first = true; cursor.reading_at < replay.readings.size(); first = false) {
        const int64_t last = reading;
        if (!next_reading(replay, &cursor, &reading)) {
            *why = "its clock readings are damaged";
            return false;
        }
        const uint64_t step = static_cast<uint64_t>(reading) - static_cast<uint64_t>(last);
        if (!first && std::min(step, 0 - step) > longest) {
            *why = "its clock jumps further than a game's can";
            return false;
        }
    }
    return true;
}

// Values a game can have: anything else is a made-up file.
bool start_is_sound(const ReplayStart& s) {
    const auto volume = [](int32_t v) { return v >= 0 && v <= 255; };
    const auto angle = [](float a) { return std::isfinite(a) && std::fabs(a) <= 30000.0f; };
    return s.frequency > 0 && s.frequency <= 1'000'000'000'000 && s.app_active <= 1 &&
           s.music_started <= 1 && s.mouse_x >= 0 && s.mouse_x <= 0xFFFF && s.mouse_y >= 0 &&
           s.mouse_y <= 0xFFFF && angle(s.gun_pitch) && angle(s.gun_yaw) &&
           volume(s.music_volume) && volume(s.sound_volume);
}

} // namespace

uint32_t replay_checksum(const uint8_t* bytes, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

void add_pass(Replay* replay) {
    std::vector<uint8_t>& events = replay->events;
    replay->mouse_at = SIZE_MAX;
    if (replay->run_at == SIZE_MAX) {
        replay->run_at = events.size();
        replay->run_length = 0;
    }
    events.resize(replay->run_at);
    events.push_back(static_cast<uint8_t>(ReplayInput::pass));
    put_number(&events, ++replay->run_length);
}

void add_music_end(Replay* replay) {
    replay->run_at = replay->mouse_at = SIZE_MAX;
    replay->events.push_back(static_cast<uint8_t>(ReplayInput::music_end));
}

size_t add_message(Replay* replay, ReplayInput input, uint32_t wparam, uint32_t lparam) {
    replay->run_at = SIZE_MAX;
    if (replay->mouse_at != SIZE_MAX && input == ReplayInput::mouse_move)
        replay->events.resize(replay->mouse_at);
    const size_t at = replay->events.size();
    replay->mouse_at = input == ReplayInput::mouse_move ? at : SIZE_MAX;
    replay->events.push_back(static_cast<uint8_t>(input));
    put_number(&replay->events, wparam);
    put_number(&replay->events, lparam);
    return at;
}

void add_reading(Replay* replay, int64_t reading) {
    // The difference, zigzagged so that a small one backwards is small too.
    const auto difference = static_cast<int64_t>(static_cast<uint64_t>(reading) -
                                                 static_cast<uint64_t>(replay->last_reading));
    put_number(&replay->readings,
               (static_cast<uint64_t>(difference) << 1) ^ static_cast<uint64_t>(difference >> 63));
    replay->last_reading = reading;
}

bool next_event(const Replay& replay, ReplayCursor* cursor, ReplayEvent* event) {
    if (cursor->passes_left > 0) {
        --cursor->passes_left;
        *event = {ReplayInput::pass, 0, 0};
        return true;
    }
    uint64_t run = 0;
    if (cursor->event_at >= replay.events.size() ||
        !read_event(replay.events, &cursor->event_at, event, &run)) {
        cursor->event_at = replay.events.size();
        return false;
    }
    if (run > 0)
        cursor->passes_left = run - 1;
    return true;
}

bool take_music_end(const Replay& replay, ReplayCursor* cursor) {
    if (cursor->passes_left > 0 || cursor->event_at >= replay.events.size() ||
        replay.events[cursor->event_at] != static_cast<uint8_t>(ReplayInput::music_end))
        return false;
    ++cursor->event_at;
    return true;
}

bool next_reading(const Replay& replay, ReplayCursor* cursor, int64_t* reading) {
    uint64_t zigzag = 0;
    if (!get_number(replay.readings, &cursor->reading_at, &zigzag)) {
        cursor->reading_at = replay.readings.size();
        return false;
    }
    const uint64_t difference = (zigzag >> 1) ^ (0 - (zigzag & 1));
    cursor->reading = static_cast<int64_t>(static_cast<uint64_t>(cursor->reading) + difference);
    *reading = cursor->reading;
    return true;
}

std::vector<uint8_t> encode_replay(const Replay& replay) {
    std::vector<uint8_t> bytes(magic, magic + sizeof magic);
    Writer writer{&bytes};
    writer.field(replay_version);
    start_fields(writer, replay.start);
    end_fields(writer, replay.end);
    for (const std::vector<uint8_t>* stream : {&replay.events, &replay.readings}) {
        writer.field(static_cast<uint32_t>(stream->size()));
        bytes.insert(bytes.end(), stream->begin(), stream->end());
    }
    writer.field(replay_checksum(bytes.data(), bytes.size()));
    return bytes;
}

bool decode_replay(const uint8_t* bytes, size_t size, Replay* replay, std::string* why) {
    *replay = Replay{};
    const size_t fixed = fixed_size();
    if (size < sizeof magic || std::memcmp(bytes, magic, sizeof magic) != 0) {
        *why = "it is not a replay of Zarnok 3D";
        return false;
    }
    if (size >= sizeof magic + 4 && get_le32(bytes + sizeof magic) != replay_version) {
        *why = "it was recorded by another version of the game (replay version " +
               std::to_string(get_le32(bytes + sizeof magic)) + "; this one plays version " +
               std::to_string(replay_version) + ")";
        return false;
    }
    if (size < fixed + 12) {
        *why = "it is cut short";
        return false;
    }
    if (size > most_replay_bytes) {
        *why = "it is larger than any replay the game writes";
        return false;
    }
    Reader reader{bytes + sizeof magic + 4};
    start_fields(reader, replay->start);
    end_fields(reader, replay->end);
    size_t at = fixed;
    for (std::vector<uint8_t>* stream : {&replay->events, &replay->readings}) {
        if (size - at < 4 || get_le32(bytes + at) > size - at - 4) {
            *why = "it is cut short";
            return false;
        }
        const uint32_t length = get_le32(bytes + at);
        stream->assign(bytes + at + 4, bytes + at + 4 + length);
        at += 4 + length;
    }
    if (size - at != 4) {
        *why = size - at < 4 ? "it is cut short" : "it has bytes after its end";
        return false;
    }
    if (get_le32(bytes + at) != replay_checksum(bytes, at)) {
        *why = "it is damaged (its checksum does not match)";
        return false;
    }
    if (!start_is_sound(replay->start)) {
        *why = "its start is not that of a game";
        return false;
    }
    return streams_are_sound(*replay, why);
}

bool read_replay_file(const char* path, Replay* replay, std::string* why) {
    std::vector<uint8_t> bytes;
    const FileRead file = read_whole_file(path, most_replay_bytes, &bytes);
    if (file.state != FileState::read) {
        *why =
            file.state == FileState::missing ? "there is no such file" : describe_error(file.error);
        return false;
    }
    return decode_replay(bytes.data(), bytes.size(), replay, why);
}
