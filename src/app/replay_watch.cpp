// The watcher's loop: their own messages first (the windows, F11, P, volumes, F12), then the
// recorded messages up to the next recorded pass, and that pass of idle work.
#include "app/replay_watch.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "app/clock.h"
#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/main_loop.h"
#include "app/overlay.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/window_procs.h"
#include "audio/sound.h"
#include "platform/input.h"
#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/text.h"
#include "store/config.h"
#include "store/hiscores.h"
#include "store/say.h"
#include "world/state.h"

namespace {

bool fast_mode = false;
bool stopped = false; // by the watcher
bool held = false;    // paused by the watcher
bool timed = false;   // the recorded clock is tied to ours
int64_t tied_real = 0, tied_recorded = 0;
// A pass that reads no clock (a side screen) takes as long as the last two passes that did.
bool last_pass_read = false; // the pass before read the clock, first at this reading:
int64_t last_pass_reading = 0;
int64_t pass_period = 0; // in our counts

// Our counts for a span of the recorded clock's, within a few centuries either way.
int64_t our_counts(int64_t recorded) {
    constexpr double farthest = 0x1p62;
    return static_cast<int64_t>(
        std::clamp(static_cast<double>(recorded) * static_cast<double>(perf_frequency()) /
                       static_cast<double>(recorded_start().frequency),
                   -farthest, farthest));
}

// The watcher's own messages: the windows are theirs, and four keys; the game hears of nothing.
void watcher_message(const Message& message);

void take_watcher_messages() {
    Message message{};
    while (!stopped && peek_message(&message))
        watcher_message(message);
}

// A recorded message reaches the game by the player's route: into the queue (the watcher's own
// taken out first), where the key hook sees it, and on to the game's handling of the player's
// messages; but the watcher's screen (F11) and the end of the program (F12) are the watcher's.
void deliver(const Message& recorded) {
    take_watcher_messages();
    post_message(recorded.window, recorded.kind, recorded.wparam, recorded.lparam);
    Message message{};
    if (!peek_message(&message) || (message.kind == MessageKind::key_released &&
                                    (message.wparam == vk_f11 || message.wparam == vk_f12)))
        return;
    handle_message(message);
}

// At the game's own speed, waits until the moment of a recorded clock reading.
void wait_for_recorded_time(int64_t reading) {
    if (last_pass_read)
        pass_period = std::clamp<int64_t>(our_counts(counts_between(last_pass_reading, reading)), 0,
                                          perf_frequency() / 10);
    last_pass_read = true;
    last_pass_reading = reading;
    const int64_t now = perf_counter();
    if (!timed) {
        timed = true;
        tied_real = now;
        tied_recorded = reading;
        return;
    }
    int64_t due = tied_real + our_counts(counts_between(tied_recorded, reading));
    // Time the watcher paused, or the replay fell behind, is not made up for; a long wait in
    // the record (the player away) is cut short.
    const int64_t slack = perf_frequency() / 4;
    if (now - due > slack) {
        tied_real += now - due;
        due = now;
    } else if (due - now > slack) {
        tied_real -= due - now - slack;
        due = now + slack;
    }
    sleep_for_counts(due - now);
}

// The pass is shown at the moment it was played: at its first clock reading's time, or, where
// it read none (a side screen), as long after the one before as the last that did took.
void pace_pass() {
    if (fast_mode)
        return;
    int64_t reading = 0;
    if (first_reading_of_pass(&reading)) {
        wait_for_recorded_time(reading);
        return;
    }
    last_pass_read = false;
    sleep_for_counts(pass_period);
}

// The recorded messages up to the next pass, then the pass, shown; false at the end of the
// record.
bool play_next_pass() {
    Message message{};
    for (;;) {
        switch (next_recorded_step(&message)) {
        case RecordedStep::message:
            deliver(message);
            break;
        case RecordedStep::pass:
            idle_work();
            pace_pass();
            present_frame();
            return true;
        case RecordedStep::end:
            return false;
        }
    }
}

void say_held() {
    const View& view = views[main_view];
    if (Canvas* canvas = get_window_canvas(view.window)) {
        draw_watcher_pause(canvas);
        release_window_canvas(view.window, canvas);
        present_frame();
    }
}

void watcher_message(const Message& message) {
    switch (message.kind) {
    case MessageKind::quit:
    case MessageKind::destroy:
        stopped = true;
        break;
    case MessageKind::moved:
    case MessageKind::sized:
    case MessageKind::paint:
        dispatch_message(message);
        break;
    case MessageKind::key_released:
        if (message.wparam == vk_f12) {
            stopped = true;
        } else if (message.wparam == vk_letter('P')) {
            held = !held;
            if (held)
                say_held();
        } else if (message.wparam == vk_f11 || message.wparam == vk_home ||
                   message.wparam == vk_end || message.wparam == vk_prior ||
                   message.wparam == vk_next) {
            dispatch_message(message);
        }
        break;
    default:
        break;
    }
}

// The last frame stays a moment before the windows close.
void hold_last_frame() {
    const int64_t until = perf_counter() + 2 * perf_frequency();
    while (!stopped && perf_counter() < until) {
        take_watcher_messages();
        wait_for_message();
    }
}

// The first row the game changed in the table, or -1.
int32_t row_made(const ReplayEnd& end) {
    for (int32_t row = 0; row < hiscore_count; ++row)
        if (std::memcmp(end.table + 20 * row, recorded_start().table + 20 * row, 20) != 0)
            return row;
    return -1;
}

void say_how_it_ended(const ReplayEnd& end, double seconds) {
    std::string row;
    if (const int32_t made = row_made(end); made >= 0)
        row = ", row " + std::to_string(made + 1) + " \"" +
              std::string(hiscores[made].name, strnlen(hiscores[made].name, 11)) + "\"";
    std::printf("zarnok3d replay: points %" PRIu32 ", level %" PRId32 ", hits %" PRId32
                ", shots %" PRId32 "%s, %" PRIu64 " frames in %.2f s, %.1f frames a second\n",
                end.points, end.level, end.hits, end.shots, row.c_str(), end.passes, seconds,
                seconds > 0 ? static_cast<double>(end.passes) / seconds : 0.0);
    std::fflush(stdout);
}

// What differs from the recorded end, in words; empty when nothing does.
std::string differences(const ReplayEnd& now, const ReplayEnd& then) {
    std::string said;
    const auto compare = [&](const char* what, uint64_t a, uint64_t b) {
        if (a != b)
            said += std::string(said.empty() ? "" : ", ") + what + " " + std::to_string(a) +
                    " (recorded " + std::to_string(b) + ")";
    };
    compare("points", now.points, then.points);
    compare("level", static_cast<uint32_t>(now.level), static_cast<uint32_t>(then.level));
    compare("hits", static_cast<uint32_t>(now.hits), static_cast<uint32_t>(then.hits));
    compare("shots", static_cast<uint32_t>(now.shots), static_cast<uint32_t>(then.shots));
    compare("accuracy", static_cast<uint32_t>(now.accuracy), static_cast<uint32_t>(then.accuracy));
    compare("generator", now.random_state, then.random_state);
    compare("frames", now.passes, then.passes);
    if (std::memcmp(now.table, then.table, sizeof now.table) != 0)
        said += std::string(said.empty() ? "" : ", ") + "the hi-score table";
    return said;
}

} // namespace

int watch_replay(const Replay& replay, bool fast) {
    fast_mode = fast;
    stopped = held = timed = last_pass_read = false;
    pass_period = 0;
    play_back(replay, fast);
    set_watching(true); // the watcher's pointer is the watcher's
    quit_requested = 0;
    running = 0;
    init_game();
    if (running != 1)
        return 1;
    const int64_t began = perf_counter();
    for (;;) {
        take_watcher_messages();
        if (stopped)
            break;
        if (held) {
            wait_for_message();
            continue;
        }
        if (!play_next_pass() || playback_went_astray())
            break;
    }
    const double seconds =
        static_cast<double>(perf_counter() - began) / static_cast<double>(perf_frequency());
    const ReplayEnd end = game_end_state();
    say_how_it_ended(end, seconds);
    const std::string differed = differences(end, recorded_end());
    const int status = stopped || (differed.empty() && !playback_went_astray()) ? 0 : 1;
    if (status != 0)
        say("the replay did not end as its game did: %s",
            differed.empty() ? "the record went its own way" : differed.c_str());
    if (!fast)
        hold_last_frame();
    shut_down_with(status);
    return status;
}
