// F12 and the window manager's close end the program from every game state, a side screen
// shown or not: at once, with exit status 0, config.dat written with the volumes of the moment
// and scores.dat as it was (a name being typed is not saved).
#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"
#include "tests/e2e/x_client.h"

namespace {

enum class Ending { f12, window_close };

struct EndingCase {
    const char* name;
    Shown from;
    Ending ending;
};

const EndingCase playing_f12{"F12 while playing", {GameState::playing}, Ending::f12};
const EndingCase playing_about_close{"close while playing under the about screen",
                                     {GameState::playing, SideScreen::about},
                                     Ending::window_close};
const EndingCase paused_close{"close while paused", {GameState::paused}, Ending::window_close};
const EndingCase paused_hiscores_f12{"F12 while paused under the hi-score screen",
                                     {GameState::paused, SideScreen::hiscores},
                                     Ending::f12};
const EndingCase over_hiscores_f12{"F12 when over under the hi-score screen",
                                   {GameState::over, SideScreen::hiscores},
                                   Ending::f12};
const EndingCase over_close{"close when over", {GameState::over}, Ending::window_close};
const EndingCase naming_help_f12{
    "F12 while naming under the help screen", {GameState::naming, SideScreen::help}, Ending::f12};
const EndingCase naming_close{"close while naming", {GameState::naming}, Ending::window_close};

// Music 100 and sound 50, then one Home: music 110.
const Bytes config_before{100, 0, 0, 0, 50, 0, 0, 0};
const char* const config_after = "6e 00 00 00 32 00 00 00";

const Shown playing{GameState::playing};

GameSetup setup_for(const EndingCase& c) {
    GameSetup setup;
    setup.name = c.name;
    setup.scores = encode_scores(zero_table());
    setup.config = config_before;
    return setup;
}

// The start, and the hit of a game that is to name a new hi-score.
void begin(GameSession* session, const EndingCase& c) {
    std::string problem;
    ASSERT_TRUE(start_game_session(session, setup_for(c), &problem)) << problem;
    if (c.from.state == GameState::naming) {
        ASSERT_TRUE(score_one_hit(session));
    }
}

// On to the state the case ends from, side screen and all, with the music turned up.
void reach(GameSession* session, const EndingCase& c) {
    switch (c.from.state) {
    case GameState::playing:
        break;
    case GameState::paused:
        ASSERT_TRUE(step(session, playing, "p", {GameState::paused}));
        break;
    case GameState::over:
        note_transition(playing, "the first target escapes", {GameState::over});
        ASSERT_TRUE(wait_until_over(session, session->started));
        break;
    case GameState::naming:
        note_transition(playing, "a target escapes after a hit", {GameState::naming});
        ASSERT_TRUE(wait_for_naming(session, session->started));
        // A name half typed is not saved by the end of the program.
        ASSERT_TRUE(type_text(session->x.display, "Zed"));
        break;
    }
    const Shown state{c.from.state};
    if (c.from.screen != SideScreen::none) {
        ASSERT_TRUE(step(session, state, key_of(c.from.screen), c.from));
    }
    ASSERT_TRUE(step(session, c.from, "Home", c.from));
}

// The end, and the files it leaves.
void finish(GameSession* session, const EndingCase& c) {
    const std::string event = c.ending == Ending::f12 ? "F12" : "the window's close";
    std::cout << "[ transition ] " << name_of(c.from) << " --" << event << "--> the program ends"
              << std::endl;
    ChildEnd end;
    if (c.ending == Ending::f12) {
        end = quit_with_f12(session, Milliseconds(5000));
    } else {
        ASSERT_TRUE(ask_window_to_close(session->x.display, session->main_window));
        end = wait_for_game_end(session, Milliseconds(5000));
    }
    ASSERT_TRUE(end.ended) << "the game did not end within 5 s of " << event;
    EXPECT_TRUE(end.exited && end.exit_status == 0) << "after " << event << ": " << describe(end);
    const auto config = read_bytes(work_file(*session, "config.dat"));
    ASSERT_TRUE(config) << "no config.dat after " << event;
    EXPECT_EQ(hex_bytes(*config), config_after);
    const auto scores = read_bytes(work_file(*session, "scores.dat"));
    ASSERT_TRUE(scores) << "scores.dat is gone";
    EXPECT_EQ(hex_bytes(*scores), hex_bytes(*setup_for(c).scores)) << "scores.dat changed";
    EXPECT_FALSE(file_exists(work_file(*session, "config.dat.new")));
    EXPECT_FALSE(file_exists(work_file(*session, "scores.dat.new")));
}

struct SessionsGuard {
    std::vector<GameSession>* sessions;
    ~SessionsGuard() {
        for (GameSession& session : *sessions)
            end_game_session(&session);
    }
};

// The cases' games run side by side, so that their waits for the end of a game overlap.
void run_side_by_side(std::initializer_list<EndingCase> cases) {
    std::vector<GameSession> sessions(cases.size());
    SessionsGuard guard{&sessions};
    size_t i = 0;
    for (const EndingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(begin(&sessions[i++], c));
    }
    i = 0;
    for (const EndingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(reach(&sessions[i++], c));
    }
    i = 0;
    for (const EndingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(finish(&sessions[i++], c));
    }
}

TEST(StateEndings, FromPlayingAndPaused) {
    for (const EndingCase& c :
         {playing_f12, playing_about_close, paused_close, paused_hiscores_f12})
        run_side_by_side({c});
}

TEST(StateEndings, WhenOver) {
    run_side_by_side({over_hiscores_f12, over_close});
}

TEST(StateEndings, WhileNaming) {
    run_side_by_side({naming_help_f12, naming_close});
}

} // namespace
