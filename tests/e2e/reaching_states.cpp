// Waiting for the end of a game, after a hit or without one.
#include "tests/e2e/reaching_states.h"

#include <signal.h>

#include <iostream>
#include <thread>

#include "tests/e2e/game_states.h"
#include "tests/e2e/shooting.h"
#include "tests/e2e/view_reading.h"

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// The first target shows 2 s after the start and falls for 17 s before it leaves the field; a
// game left alone is over between 17 and 24 s after its start, a later escape after a hit by
// about 28 s.
constexpr Seconds quiet_time(14);
constexpr Seconds earliest_end(17);
constexpr Seconds end_by(24);
constexpr Seconds end_after_hit_by(32);

testing::AssertionResult wait_for_end(GameSession* session, OverlayKind kind, Seconds earliest,
                                      Seconds by) {
    const auto start = session->started;
    // Until nothing can happen yet, the game's process is stopped: a game runs every tick it
    // missed on its next pass, as after any long frame, so the game is the same afterwards, and
    // the waiting leaves the processor to the other tests.
    if (Clock::now() + Seconds(1) < start + quiet_time) {
        kill(session->game, SIGSTOP);
        std::this_thread::sleep_until(start + quiet_time);
        kill(session->game, SIGCONT);
    }
    OverlayLook look;
    const auto limit = std::chrono::duration_cast<Milliseconds>(start + by - Clock::now());
    const bool ended = poll_until(std::max(limit, Milliseconds(1000)), Milliseconds(100), [&] {
        look = look_at_overlay(session);
        return look.taken && overlay_kind(look.reading) == kind;
    });
    const Seconds after = Clock::now() - start;
    if (ended && after >= earliest && after <= by)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << (ended ? "the " : "no ") << name_of(kind) << " " << after.count()
           << " s after the game started, expected " << earliest.count() << " to " << by.count()
           << " s; saw " << describe(look.reading) << "; see "
           << keep_picture(session, look.first, "end");
}

} // namespace

testing::AssertionResult wait_until_over(GameSession* session) {
    return wait_for_end(session, OverlayKind::game_over, earliest_end, end_by);
}

testing::AssertionResult score_one_hit(GameSession* session, int* shots) {
    ShootingRecord shooting;
    // Leaves time for a later target to escape after the hit.
    const bool scored = shoot_targets(session, 1, Milliseconds(13000), &shooting);
    std::cout << "[   e2e    ] " << shooting.hits << " hit(s) in " << shooting.shots << " shot(s)"
              << std::endl;
    point_at(session, view_width / 2, view_height / 2);
    if (shots != nullptr)
        *shots = shooting.shots;
    if (scored)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no hit in " << shooting.shots << " shots:\n"
                                       << shooting.log;
}

testing::AssertionResult wait_for_naming(GameSession* session) {
    return wait_for_end(session, OverlayKind::new_hiscore, Seconds(0), end_after_hit_by);
}
