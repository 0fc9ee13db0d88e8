// F12 and the window manager's close end the program from every game state, a side screen
// shown or not: at once, with exit status 0, config.dat written with the volumes of the moment
// and scores.dat as it was (a name being typed is not saved).
#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"
#include "tests/e2e/score_table.h"

namespace {

struct EndingCase {
    const char* name;
    Shown from;
    Quit ending;
};

// Music 100 and sound 50, then Home and Page Down: music 110, sound 40.
const Bytes config_before{100, 0, 0, 0, 50, 0, 0, 0};
const char* const config_after = "6e 00 00 00 28 00 00 00";

// The start, and the hit of a game that is to name a new hi-score.
void begin(GameSession* session, const EndingCase& c) {
    GameSetup setup;
    setup.name = c.name;
    setup.scores = encode_scores(zero_table());
    setup.config = config_before;
    ASSERT_TRUE(start_game(session, setup));
    if (c.from.state == GameState::naming) {
        ASSERT_TRUE(score_one_hit(session));
    }
}

// On to the state the case ends from, side screen and all, with the volumes changed.
void reach(GameSession* session, const EndingCase& c) {
    const Shown state{c.from.state};
    if (c.from.state == GameState::paused) {
        ASSERT_TRUE(step(session, {GameState::playing}, "p", state));
    } else if (c.from.state == GameState::over) {
        note_transition({GameState::playing}, "the first target escapes", state);
        ASSERT_TRUE(wait_until_over(session));
    } else if (c.from.state == GameState::naming) {
        note_transition({GameState::playing}, "a target escapes after a hit", state);
        ASSERT_TRUE(wait_for_naming(session));
        // A name half typed is not saved by the end of the program.
        ASSERT_TRUE(type_text(session->x.display, "Zed"));
    }
    if (c.from.screen != SideScreen::none) {
        ASSERT_TRUE(step(session, state, key_of(c.from.screen), c.from));
    }
    ASSERT_TRUE(step(session, c.from, "Home", c.from));
    ASSERT_TRUE(step(session, c.from, "Next", c.from));
}

// The end, and the files it leaves.
void finish(GameSession* session, const EndingCase& c) {
    std::cout << "[ transition ] " << name_of(c.from) << " --"
              << (c.ending == Quit::f12 ? "F12" : "the window's close") << "--> the program ends"
              << std::endl;
    ASSERT_TRUE(quit_game(session, c.ending));
    EXPECT_EQ(file_hex(work_file(*session, "config.dat")), config_after);
    EXPECT_EQ(file_hex(work_file(*session, "scores.dat")), hex_bytes(encode_scores(zero_table())))
        << "scores.dat changed";
    EXPECT_FALSE(file_exists(work_file(*session, "config.dat.new")));
    EXPECT_FALSE(file_exists(work_file(*session, "scores.dat.new")));
}

// The cases' games run side by side, so that their waits for the end of a game overlap.
void run_side_by_side(const std::vector<EndingCase>& cases) {
    std::vector<GameSession> sessions(cases.size());
    for (void (*phase)(GameSession*, const EndingCase&) : {begin, reach, finish})
        for (size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(cases[i].name);
            ASSERT_NO_FATAL_FAILURE(phase(&sessions[i], cases[i]));
        }
}

TEST(StateEndings, FromPlayingAndPaused) {
    run_side_by_side({{"F12 while playing", {GameState::playing}, Quit::f12}});
    run_side_by_side({{"close while playing under the about screen",
                       {GameState::playing, SideScreen::about},
                       Quit::window_close}});
    run_side_by_side({{"close while paused", {GameState::paused}, Quit::window_close}});
    run_side_by_side({{"F12 while paused under the hi-score screen",
                       {GameState::paused, SideScreen::hiscores},
                       Quit::f12}});
}

TEST(StateEndings, WhenOver) {
    run_side_by_side({{"F12 when over under the hi-score screen",
                       {GameState::over, SideScreen::hiscores},
                       Quit::f12},
                      {"close when over", {GameState::over}, Quit::window_close}});
}

TEST(StateEndings, WhileNaming) {
    run_side_by_side({{"F12 while naming under the help screen",
                       {GameState::naming, SideScreen::help},
                       Quit::f12},
                      {"close while naming", {GameState::naming}, Quit::window_close}});
}

} // namespace
