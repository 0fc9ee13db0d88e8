// The game's states and the keys between them, played through: playing, paused, over, and over
// while a new hi-score is named, each with and without a side screen over it.
//
// Transitions gone through here (each is printed as "[ transition ] from --key--> to"):
//
// | from                                | key or event            | to                         |
// |-------------------------------------|-------------------------|----------------------------|
// | playing                             | P                       | paused                     |
// | paused                              | P                       | playing                    |
// | playing, paused, over, naming       | F1, F5, F7              | the same under that screen |
// | each state under a side screen      | F1, F5, F7              | the same under that screen |
// | each state under a side screen      | Escape x space 5 Return | the state underneath       |
// | playing/paused, help or about shown | P                       | unchanged (ignored)        |
// | playing under the hi-score screen   | P                       | paused under it            |
// | paused under the hi-score screen    | P                       | playing under it           |
// | over, with or without a side screen | P                       | unchanged (ignored)        |
// | naming under the hi-score screen    | P                       | unchanged (ignored)        |
// | naming under a side screen          | Home, End               | unchanged (volumes only)   |
// | playing                             | the first escape        | over                       |
// | playing, after a hit                | an escape               | over and naming            |
// | over and naming                     | Return                  | over, scores.dat written   |
// | each state, screen shown or not     | F2                      | playing, a new game        |
//
// "naming" is over and naming; "each state" is playing, paused, over and naming.
//
// The targets fall while playing, over and naming, and stand still while paused and under any
// side screen; the aim line shows while playing and paused, and is gone once the game is over;
// the cursor is hidden and held in the view while playing and after F2, shown and free while
// paused. F12 and the window's close from each state are in state_endings_test.cpp.
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"
#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

// Long enough under a side screen for running ticks to move the targets well past the
// tolerance of targets_stood_still.
const Milliseconds screen_time(1000);
// The sparks of the aim line, blown up at the end of a game, last 2.55 s.
const Milliseconds sparks_time(2600);

constexpr Shown playing{GameState::playing};
constexpr Shown paused{GameState::paused};
constexpr Shown over{GameState::over};
constexpr Shown naming{GameState::naming};

Shown under(GameState state, SideScreen screen) {
    return {state, screen};
}

// P toggles the pause under the hi-score screen, but not while the game is over.
GameState after_p(GameState state, SideScreen screen) {
    if (state == GameState::playing && screen != SideScreen::help && screen != SideScreen::about)
        return GameState::paused;
    if (state == GameState::paused && screen != SideScreen::help && screen != SideScreen::about)
        return GameState::playing;
    return state;
}

// The HUD's corner, where the targets never reach: a new game shows its start values there.
constexpr Rect hud_corner{0, 0, 200, 80};

// Opens the side screen over the state, presses P under it, keeps it up a while and leaves it
// with the key; the targets stand still all along. Returns the state the game is left in.
GameState visit_with_p(GameSession* session, GameState state, SideScreen screen,
                       const std::string& leave) {
    Image before, after;
    EXPECT_TRUE(wait_for_targets(session, &before));
    EXPECT_TRUE(step(session, {state}, key_of(screen), under(state, screen)));
    const GameState then = after_p(state, screen);
    EXPECT_TRUE(step(session, under(state, screen), "p", under(then, screen)));
    pause_for(screen_time);
    EXPECT_TRUE(step(session, under(then, screen), leave, {then}, &after));
    if (!before.rgb.empty() && !after.rgb.empty()) {
        EXPECT_TRUE(targets_stood_still(session, before, after));
    }
    return then;
}

// Right after F2: no targets yet, the HUD's start values, the aim line, the cursor hidden and
// held in the view.
void expect_new_game(GameSession* session, const Image& after_f2, const Image& start_view) {
    EXPECT_TRUE(find_red_blobs(after_f2).empty())
        << "targets right after F2; see " << keep_picture(session, after_f2, "after_f2");
    EXPECT_EQ(count_differences(after_f2, start_view, hud_corner), 0)
        << "the HUD does not show the start values after F2; see "
        << keep_picture(session, after_f2, "hud_after_f2") << " and "
        << keep_picture(session, start_view, "hud_at_start");
    EXPECT_TRUE(aim_line_shown(session, true));
    EXPECT_TRUE(cursor_is(session, false, true));
}

// The first picture of the game view, for the HUD's start values.
Image start_view(GameSession* session) {
    Image view;
    EXPECT_TRUE(shows(session, playing, &view));
    return view;
}

void expect_scores_file(const GameSession& session, const Bytes& expected, const char* when) {
    const auto now = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(now) << "no scores.dat " << when;
    EXPECT_EQ(hex_bytes(*now), hex_bytes(expected)) << "scores.dat changed " << when;
}

TEST(StateTable, PlayingAndPausedUnderEachSideScreen) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;
    const auto scores = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores) << "no scores.dat written at start-up";

    ASSERT_TRUE(shows(&session, playing));
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(aim_line_shown(&session, true));
    EXPECT_TRUE(cursor_is(&session, false, true));

    ASSERT_TRUE(step(&session, playing, "p", paused));
    EXPECT_TRUE(targets_stand_still(&session));
    EXPECT_TRUE(aim_line_shown(&session, true));
    EXPECT_TRUE(cursor_is(&session, true, false));
    ASSERT_TRUE(step(&session, paused, "p", playing));
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));

    // P does nothing under the help and about screens.
    EXPECT_EQ(visit_with_p(&session, GameState::playing, SideScreen::help, "Escape"),
              GameState::playing);
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_EQ(visit_with_p(&session, GameState::playing, SideScreen::about, "space"),
              GameState::playing);
    EXPECT_TRUE(targets_fall(&session));
    // Under the hi-score screen it pauses the game, which shows once the screen is left.
    ASSERT_EQ(visit_with_p(&session, GameState::playing, SideScreen::hiscores, "x"),
              GameState::paused);
    EXPECT_TRUE(targets_stand_still(&session));
    EXPECT_TRUE(cursor_is(&session, true, false));

    // The same over the paused game; under the hi-score screen P resumes it.
    EXPECT_EQ(visit_with_p(&session, GameState::paused, SideScreen::help, "Return"),
              GameState::paused);
    EXPECT_EQ(visit_with_p(&session, GameState::paused, SideScreen::about, "5"), GameState::paused);
    ASSERT_TRUE(step(&session, paused, "F1", under(GameState::paused, SideScreen::help)));
    ASSERT_TRUE(step(&session, under(GameState::paused, SideScreen::help), "F7",
                     under(GameState::paused, SideScreen::about)));
    ASSERT_TRUE(step(&session, under(GameState::paused, SideScreen::about), "F5",
                     under(GameState::paused, SideScreen::hiscores)));
    ASSERT_TRUE(step(&session, under(GameState::paused, SideScreen::hiscores), "Escape", paused));
    ASSERT_EQ(visit_with_p(&session, GameState::paused, SideScreen::hiscores, "x"),
              GameState::playing);
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));

    // The screens switch directly over the playing game.
    const Shown about = under(GameState::playing, SideScreen::about);
    const Shown help = under(GameState::playing, SideScreen::help);
    const Shown hiscores = under(GameState::playing, SideScreen::hiscores);
    ASSERT_TRUE(step(&session, playing, "F7", about));
    ASSERT_TRUE(step(&session, about, "F1", help));
    ASSERT_TRUE(step(&session, help, "F5", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "F1", help));
    ASSERT_TRUE(step(&session, help, "F7", about));
    ASSERT_TRUE(step(&session, about, "F5", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "Escape", playing));
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *scores, "without a name entered");
}

TEST(StateTable, F2FromPlayingAndPausedWithAndWithoutASideScreen) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;
    const auto scores = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores) << "no scores.dat written at start-up";
    const Image first_view = start_view(&session);

    const Shown from[] = {playing,
                          under(GameState::playing, SideScreen::help),
                          under(GameState::playing, SideScreen::hiscores),
                          paused,
                          under(GameState::paused, SideScreen::about),
                          under(GameState::paused, SideScreen::hiscores)};
    for (const Shown& state : from) {
        SCOPED_TRACE("F2 from " + name_of(state));
        // Targets first, so that a new game shows by their going.
        Image view;
        ASSERT_TRUE(wait_for_targets(&session, &view));
        if (state.state == GameState::paused) {
            ASSERT_TRUE(step(&session, playing, "p", paused));
        }
        if (state.screen != SideScreen::none) {
            ASSERT_TRUE(step(&session, {state.state}, key_of(state.screen), state));
        }
        ASSERT_TRUE(step(&session, state, "F2", playing, &view));
        expect_new_game(&session, view, first_view);
    }
    expect_scores_file(session, *scores, "without a name entered");
}

TEST(StateTable, OverIgnoresPUnderEachSideScreenAndF2StartsAgainFromUnderOne) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;
    const auto scores = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores) << "no scores.dat written at start-up";
    const Image first_view = start_view(&session);

    note_transition(playing, "the first target escapes", over);
    ASSERT_TRUE(wait_until_over(&session, session.started));
    const auto ended = std::chrono::steady_clock::now();
    ASSERT_TRUE(shows(&session, over));
    // Ticks go on after the end: targets still come and fall.
    EXPECT_TRUE(targets_fall(&session));
    // P does not pause a game that is over: the targets fall on, the cursor stays hidden.
    ASSERT_TRUE(step(&session, over, "p", over));
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));

    std::this_thread::sleep_until(ended + sparks_time);
    EXPECT_EQ(visit_with_p(&session, GameState::over, SideScreen::help, "Escape"), GameState::over);
    EXPECT_EQ(visit_with_p(&session, GameState::over, SideScreen::hiscores, "x"), GameState::over);
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));
    EXPECT_EQ(visit_with_p(&session, GameState::over, SideScreen::about, "Return"),
              GameState::over);
    // The aim line blew up at the end, its sparks long gone by now.
    EXPECT_TRUE(aim_line_shown(&session, false));

    const Shown about = under(GameState::over, SideScreen::about);
    const Shown help = under(GameState::over, SideScreen::help);
    const Shown hiscores = under(GameState::over, SideScreen::hiscores);
    ASSERT_TRUE(step(&session, over, "F5", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "F1", help));
    ASSERT_TRUE(step(&session, help, "F7", about));
    Image view;
    ASSERT_TRUE(step(&session, about, "F2", playing, &view));
    expect_new_game(&session, view, first_view);
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *scores, "without a name entered");
}

// The overlay's second line, the name prompt, grows with the name typed.
int prompt_width(GameSession* session) {
    const OverlayLook look = look_at_overlay(session);
    if (overlay_kind(look.reading) != OverlayKind::new_hiscore)
        return -1;
    const Extent& line = look.reading.line2;
    return line.count == 0 ? 0 : line.right - line.left + 1;
}

// Waits for the prompt to reach a width, within a couple of pixels, or to pass it.
testing::AssertionResult prompt_is(GameSession* session, int low, int high) {
    int width = -1;
    if (poll_until(Milliseconds(3000), Milliseconds(50), [&] {
            width = prompt_width(session);
            return width >= low && width <= high;
        }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "the name prompt is " << width << " px wide, expected " << low << ".." << high;
}

TEST(StateTable, NamingGoesOnUnderTheSideScreensAndReturnSavesTheName) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    ASSERT_TRUE(start_game_session(&session, setup, &problem)) << problem;
    const Image first_view = start_view(&session);

    note_transition(playing, "a target escapes after a hit", naming);
    ASSERT_TRUE(score_and_wait_for_naming(&session, session.started));
    const auto ended = std::chrono::steady_clock::now();
    ASSERT_TRUE(shows(&session, naming));
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *setup.scores, "before the name was entered");

    const int empty_prompt = prompt_width(&session);
    ASSERT_GT(empty_prompt, 0);
    ASSERT_TRUE(type_text(session.x.display, "Ab"));
    ASSERT_TRUE(prompt_is(&session, empty_prompt + 10, 400));
    const int typed_prompt = prompt_width(&session);
    std::this_thread::sleep_until(ended + sparks_time);

    // Side screens over the naming: the keys that leave them, P and the volume keys type
    // nothing, and the targets stand still under them.
    EXPECT_EQ(visit_with_p(&session, GameState::naming, SideScreen::hiscores, "x"),
              GameState::naming);
    EXPECT_TRUE(prompt_is(&session, typed_prompt - 2, typed_prompt + 2)) << "after x";
    EXPECT_TRUE(targets_fall(&session));
    const Shown help = under(GameState::naming, SideScreen::help);
    const Shown about = under(GameState::naming, SideScreen::about);
    ASSERT_TRUE(step(&session, naming, "F1", help));
    ASSERT_TRUE(step(&session, help, "Home", help));
    ASSERT_TRUE(step(&session, help, "F7", about));
    ASSERT_TRUE(step(&session, about, "End", about));
    ASSERT_TRUE(step(&session, about, "Escape", naming));
    EXPECT_TRUE(prompt_is(&session, typed_prompt - 2, typed_prompt + 2)) << "after Escape";
    ASSERT_TRUE(type_text(session.x.display, "c"));
    ASSERT_TRUE(prompt_is(&session, typed_prompt + 4, 400));
    expect_scores_file(session, *setup.scores, "before Return");

    ASSERT_TRUE(step(&session, naming, "Return", over));
    ScoreTable table;
    const std::string scores_path = work_file(session, "scores.dat");
    EXPECT_TRUE(poll_until(Milliseconds(3000), Milliseconds(50),
                           [&] {
                               const auto bytes = read_bytes(scores_path);
                               return bytes && decode_scores(*bytes, &table) &&
                                      table[0].name == "Abc";
                           }))
        << "scores.dat does not hold \"Abc\" at rank 1 but \"" << table[0].name << "\"";
    const auto saved = read_bytes(scores_path);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(aim_line_shown(&session, false));

    const Shown hiscores = under(GameState::over, SideScreen::hiscores);
    ASSERT_TRUE(step(&session, over, "F5", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "p", hiscores));
    ASSERT_TRUE(step(&session, hiscores, "x", over));
    EXPECT_TRUE(targets_fall(&session));
    Image view;
    ASSERT_TRUE(step(&session, over, "F2", playing, &view));
    expect_new_game(&session, view, first_view);
    expect_scores_file(session, *saved, "after the name was saved");
}

// Names a new hi-score in part, opens the side screen (if any), and starts a new game with F2:
// the name is not saved.
void leave_naming_with_f2(SideScreen screen) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    ASSERT_TRUE(start_game_session(&session, setup, &problem)) << problem;
    const Image first_view = start_view(&session);

    const Shown from = under(GameState::naming, screen);
    note_transition(playing, "a target escapes after a hit", naming);
    ASSERT_TRUE(score_and_wait_for_naming(&session, session.started));
    ASSERT_TRUE(type_text(session.x.display, "Q"));
    if (screen != SideScreen::none) {
        ASSERT_TRUE(step(&session, naming, key_of(screen), from));
    }
    Image view;
    ASSERT_TRUE(step(&session, from, "F2", playing, &view));
    expect_new_game(&session, view, first_view);
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *setup.scores, "by a name entry left with F2");
}

TEST(StateTable, F2LeavesANamingGameUnsaved) {
    leave_naming_with_f2(SideScreen::none);
}

TEST(StateTable, F2FromUnderTheAboutScreenLeavesANamingGameUnsaved) {
    leave_naming_with_f2(SideScreen::about);
}

} // namespace
