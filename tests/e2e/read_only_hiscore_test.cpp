// In a working directory the game cannot write to, a new hi-score is still named and the game
// goes on after Return; scores.dat and config.dat stay as they were, to the byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <iostream>

#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"

namespace {

TEST(ReadOnlyDirectory, ANamedHiScoreAndTheVolumesAreNotWrittenAndTheOldFilesStay) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    setup.config = Bytes{200, 0, 0, 0, 30, 0, 0, 0};
    setup.unprivileged = true;
    setup.prepare = [](const std::string& dir, std::string* problem) {
        if (chmod(dir.c_str(), 0555) == 0)
            return true;
        *problem = "cannot make " + dir + " read-only";
        return false;
    };
    ASSERT_TRUE(start_game_session(&session, setup, &problem)) << problem;

    const Shown naming{GameState::naming};
    const Shown over{GameState::over};
    ASSERT_TRUE(score_and_wait_for_naming(&session, session.started));
    ASSERT_TRUE(type_text(session.x.display, "Nope"));
    ASSERT_TRUE(step(&session, naming, "Return", over));
    // Play goes on: ticks run, the keys work.
    EXPECT_TRUE(targets_fall(&session));
    ASSERT_TRUE(step(&session, over, "F5", {GameState::over, SideScreen::hiscores}));
    ASSERT_TRUE(step(&session, {GameState::over, SideScreen::hiscores}, "Home",
                     {GameState::over, SideScreen::hiscores}));
    ASSERT_TRUE(step(&session, {GameState::over, SideScreen::hiscores}, "Escape", over));
    const ChildEnd end = quit_with_f12(&session, Milliseconds(5000));
    EXPECT_TRUE(end.ended && end.exited && end.exit_status == 0) << describe(end);

    const auto scores = read_bytes(work_file(session, "scores.dat"));
    const auto config = read_bytes(work_file(session, "config.dat"));
    ASSERT_TRUE(scores && config);
    EXPECT_EQ(hex_bytes(*scores), hex_bytes(*setup.scores)) << "scores.dat changed";
    EXPECT_EQ(hex_bytes(*config), hex_bytes(*setup.config)) << "config.dat changed";
    EXPECT_FALSE(file_exists(work_file(session, "scores.dat.new")));
    EXPECT_FALSE(file_exists(work_file(session, "config.dat.new")));
    std::cout << "[ bad input ] working directory read-only, a hi-score named with Return | "
              << "game over shown, targets fall on, F12: " << describe(end)
              << "; scores.dat and config.dat unchanged | "
              << (testing::Test::HasFailure() ? "FAIL" : "pass") << std::endl;
}

} // namespace
