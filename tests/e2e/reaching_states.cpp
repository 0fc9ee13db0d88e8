// Waiting for the end of a game, after a hit or without one.
#include "tests/e2e/reaching_states.h"

#include <signal.h>

#include <iostream>
#include <thread>

#include "tests/e2e/shooting.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

using Clock = std::chrono::steady_clock;

// No target escapes before 17 s of a game; the last one left alone escapes by 24 s, a later one
// after a hit by about 28 s.
constexpr std::chrono::seconds quiet_time(14);
constexpr std::chrono::seconds end_by(26);
constexpr std::chrono::seconds end_after_hit_by(32);
// Leaves time for a later target to escape after the hit.
const Milliseconds shooting_limit(13000);

// Until nothing can happen yet, the game's process is stopped: a game runs every tick it
// missed on its next pass, as after any long frame, so the game is the same afterwards, and
// the waiting leaves the processor to the other tests.
void idle_until(GameSession* session, TimePoint until) {
    if (Clock::now() + std::chrono::seconds(1) >= until || session->game < 0)
        return;
    kill(session->game, SIGSTOP);
    std::this_thread::sleep_until(until);
    kill(session->game, SIGCONT);
}

testing::AssertionResult wait_for_end(GameSession* session, OverlayKind kind, TimePoint start,
                                      std::chrono::seconds by) {
    idle_until(session, start + quiet_time);
    OverlayLook look;
    const auto limit = std::chrono::duration_cast<Milliseconds>(start + by - Clock::now());
    if (wait_for_overlay(session, kind, std::max(limit, Milliseconds(1000)), &look))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "no " << name_of(kind) << " "
           << std::chrono::duration<double>(Clock::now() - start).count()
           << " s after the game started; last saw " << describe(look.reading) << "; see "
           << keep_picture(session, look.first, "no_end");
}

} // namespace

ScoreTable zero_table() {
    ScoreTable table;
    for (int i = 0; i < 5; ++i)
        table[i] = {"Z" + std::to_string(i + 1), 1, 0, 0};
    return table;
}

testing::AssertionResult wait_until_over(GameSession* session, TimePoint game_start) {
    return wait_for_end(session, OverlayKind::game_over, game_start, end_by);
}

testing::AssertionResult score_one_hit(GameSession* session) {
    ShootingRecord shooting;
    const bool scored = shoot_targets(session, 1, shooting_limit, &shooting);
    std::cout << "[   e2e    ] " << shooting.hits << " hit(s) in " << shooting.shots << " shot(s)"
              << std::endl;
    point_at(session, view_width / 2, view_height / 2);
    if (scored)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no hit in " << shooting.shots << " shots:\n"
                                       << shooting.log;
}

testing::AssertionResult wait_for_naming(GameSession* session, TimePoint game_start) {
    return wait_for_end(session, OverlayKind::new_hiscore, game_start, end_after_hit_by);
}

testing::AssertionResult score_and_wait_for_naming(GameSession* session, TimePoint game_start) {
    if (auto scored = score_one_hit(session); !scored)
        return scored;
    return wait_for_naming(session, game_start);
}
