// In a working directory the game cannot write to, a new hi-score is still named and the game
// goes on after Return; scores.dat and config.dat stay as they were, to the byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <iostream>

#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"
#include "tests/e2e/score_table.h"

namespace {

TEST(ReadOnlyDirectory, ANamedHiScoreAndTheVolumesAreNotWrittenAndTheOldFilesStay) {
    GameSession session;
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    setup.config = Bytes{200, 0, 0, 0, 30, 0, 0, 0};
    setup.unprivileged = true;
    setup.prepare = [](const std::string& dir, std::string* problem) {
        *problem = "cannot make " + dir + " read-only";
        return chmod(dir.c_str(), 0555) == 0;
    };
    ASSERT_TRUE(start_game(&session, setup));

    const Shown naming{GameState::naming};
    const Shown over{GameState::over};
    const Shown hiscores{GameState::over, SideScreen::hiscores};
    ASSERT_TRUE(score_one_hit(&session));
    ASSERT_TRUE(wait_for_naming(&session));
    ASSERT_TRUE(type_text(session.x.display, "Nope"));
    ASSERT_TRUE(step(&session, naming, "Return", over));
    // Play goes on: ticks run, the keys work.
    EXPECT_TRUE(targets_fall(&session));
    ASSERT_TRUE(step(&session, over, "F5", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "Home", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "Escape", over));
    const testing::AssertionResult ended = quit_game(&session);
    EXPECT_TRUE(ended);

    EXPECT_EQ(file_hex(work_file(session, "scores.dat")), hex_bytes(*setup.scores));
    EXPECT_EQ(file_hex(work_file(session, "config.dat")), hex_bytes(*setup.config));
    EXPECT_FALSE(file_exists(work_file(session, "scores.dat.new")));
    EXPECT_FALSE(file_exists(work_file(session, "config.dat.new")));
    std::cout << "[ bad input ] working directory read-only, a hi-score named with Return | "
              << "game over shown, targets fall on, " << ended.message()
              << "; scores.dat and config.dat unchanged | "
              << (testing::Test::HasFailure() ? "FAIL" : "pass") << std::endl;
}

} // namespace
