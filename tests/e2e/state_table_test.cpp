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
// | playing under the help screen       | Page Up, End            | unchanged (volumes only)   |
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
// paused; a click while paused fires nothing. config.dat is written when the program ends and
// not before, scores.dat at the start when there is none and then only by Return. F12 and the
// window's close from each state are in state_endings_test.cpp.
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"
#include "tests/e2e/score_table.h"
#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"

namespace {

using Clock = std::chrono::steady_clock;
using enum SideScreen;

// Long enough under a side screen for running ticks to move the targets well past the
// tolerance of targets_stood_still.
const Milliseconds screen_time(1000);
// The sparks of the aim line, blown up at the end of a game, last 2.55 s.
const Milliseconds sparks_time(2600);

constexpr Shown playing{GameState::playing};
constexpr Shown paused{GameState::paused};
constexpr Shown over{GameState::over};
constexpr Shown naming{GameState::naming};

Shown under(Shown state, SideScreen screen) {
    return {state.state, screen};
}

// P toggles the pause, under the hi-score screen too, but not under the help and about
// screens, nor once the game is over.
GameState after_p(GameState state, SideScreen screen) {
    if (screen == help || screen == about)
        return state;
    if (state == GameState::playing)
        return GameState::paused;
    return state == GameState::paused ? GameState::playing : state;
}

// Opens the side screen over the state, presses P under it, keeps it up a while and leaves it
// with the key, to the state after_p gives; the targets stand still all along.
void visit_with_p(GameSession* session, GameState state, SideScreen screen,
                  const std::string& leave) {
    Image before, after;
    EXPECT_TRUE(wait_for_targets(session, &before));
    EXPECT_TRUE(step(session, {state}, key_of(screen), {state, screen}));
    const GameState then = after_p(state, screen);
    EXPECT_TRUE(step(session, {state, screen}, "p", {then, screen}));
    pause_for(screen_time);
    EXPECT_TRUE(step(session, {then, screen}, leave, {then}, &after));
    if (!before.rgb.empty() && !after.rgb.empty()) {
        EXPECT_TRUE(targets_stood_still(session, before, after));
    }
}

// Right after F2: no targets yet, the HUD's start values, the aim line, the cursor hidden and
// held in the view.
void expect_new_game(GameSession* session, const Image& after_f2, const Image& start_view) {
    // The HUD's corner, where the targets never reach.
    constexpr Rect hud_corner{0, 0, 200, 80};
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
    EXPECT_EQ(file_hex(work_file(session, "scores.dat")), hex_bytes(expected))
        << "scores.dat changed " << when;
}

// Opens the side screens in turn over the state, each straight from the one before.
testing::AssertionResult switch_screens(GameSession* session, Shown from,
                                        std::initializer_list<SideScreen> screens) {
    std::vector<std::pair<std::string, Shown>> path;
    for (SideScreen screen : screens)
        path.push_back({key_of(screen), under(from, screen)});
    return walk(session, from, path);
}

// On the help screen Page Up turns the sound up: its line changes and the music's does not;
// End twice turns the music down, and its line changes too.
void expect_volume_lines_follow_keys(GameSession* session) {
    const Shown on_help = under(playing, help);
    const Rect music_line{8, 340, 300, 353}, sound_line{8, 355, 300, 368};
    Image before, after;
    ASSERT_TRUE(shows(session, on_help, &before));
    auto changes = [&](Rect line) {
        return wait_for_picture(session, Milliseconds(3000), &after, [&](const Image& v) {
            return count_differences(before, v, line) > 0;
        });
    };
    ASSERT_TRUE(step(session, on_help, "Prior", on_help));
    EXPECT_TRUE(changes(sound_line))
        << "the sound volume line did not change; see " << keep_picture(session, after, "sound");
    EXPECT_EQ(count_differences(before, after, music_line), 0)
        << "the music volume line changed; see " << keep_picture(session, after, "music");
    ASSERT_TRUE(walk(session, on_help, {{"End", on_help}, {"End", on_help}}));
    EXPECT_TRUE(changes(music_line))
        << "the music volume line did not change; see " << keep_picture(session, after, "music");
}

TEST(StateTable, PlayingAndPausedUnderEachSideScreen) {
    GameSession session;
    ASSERT_TRUE(start_game(&session, {}));
    const auto scores = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores) << "no scores.dat written at start-up";

    ASSERT_TRUE(shows(&session, playing));
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(aim_line_shown(&session, true));
    EXPECT_TRUE(cursor_is(&session, false, true));

    Image before_click, after_click;
    ASSERT_TRUE(step(&session, playing, "p", paused, &before_click));
    EXPECT_TRUE(targets_stand_still(&session));
    EXPECT_TRUE(aim_line_shown(&session, true));
    EXPECT_TRUE(cursor_is(&session, true, false));
    // A click while paused fires nothing: the HUD's accuracy stays at 100%.
    ASSERT_TRUE(fire(&session));
    pause_for(Milliseconds(300));
    ASSERT_TRUE(shows(&session, paused, &after_click));
    EXPECT_EQ(count_differences(before_click, after_click, hud_value_rect(1)), 0)
        << "the HUD's accuracy changed after a click while paused; see "
        << keep_picture(&session, after_click, "paused_click");
    ASSERT_TRUE(step(&session, paused, "p", playing));
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));

    // P does nothing under the help and about screens.
    visit_with_p(&session, GameState::playing, help, "Escape");
    EXPECT_TRUE(targets_fall(&session));
    visit_with_p(&session, GameState::playing, about, "space");
    EXPECT_TRUE(targets_fall(&session));
    // Under the hi-score screen it pauses the game, which shows once the screen is left.
    visit_with_p(&session, GameState::playing, hiscores, "x");
    EXPECT_TRUE(targets_stand_still(&session));
    EXPECT_TRUE(cursor_is(&session, true, false));

    // The same over the paused game; under the hi-score screen P resumes it.
    visit_with_p(&session, GameState::paused, help, "Return");
    visit_with_p(&session, GameState::paused, about, "5");
    ASSERT_TRUE(switch_screens(&session, paused, {help, about, hiscores}));
    ASSERT_TRUE(step(&session, under(paused, hiscores), "Escape", paused));
    visit_with_p(&session, GameState::paused, hiscores, "x");
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));

    // Over the playing game the help screen's volume lines follow the volume keys, and the
    // screens switch directly, each to each.
    ASSERT_TRUE(step(&session, playing, "F1", under(playing, help)));
    ASSERT_NO_FATAL_FAILURE(expect_volume_lines_follow_keys(&session));
    ASSERT_TRUE(switch_screens(&session, under(playing, help),
                               {help, hiscores, about, hiscores, help, about, help}));
    ASSERT_TRUE(step(&session, under(playing, help), "Escape", playing));
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *scores, "without a name entered");
    EXPECT_TRUE(quit_game(&session));
    // Page Up: sound 128 + 10; End twice: music 128 - 20.
    EXPECT_EQ(file_hex(work_file(session, "config.dat")), "6c 00 00 00 8a 00 00 00");
}

TEST(StateTable, F2FromPlayingAndPausedWithAndWithoutASideScreen) {
    GameSession session;
    ASSERT_TRUE(start_game(&session, {}));
    const auto scores = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores) << "no scores.dat written at start-up";
    const Image first_view = start_view(&session);

    for (const Shown& state : {playing, under(playing, help), under(playing, hiscores), paused,
                               under(paused, about), under(paused, hiscores)}) {
        SCOPED_TRACE("F2 from " + name_of(state));
        // Targets first, so that a new game shows by their going.
        Image view;
        ASSERT_TRUE(wait_for_targets(&session, &view));
        if (state.state == GameState::paused) {
            ASSERT_TRUE(step(&session, playing, "p", paused));
        }
        if (state.screen != none) {
            ASSERT_TRUE(step(&session, {state.state}, key_of(state.screen), state));
        }
        ASSERT_TRUE(step(&session, state, "F2", playing, &view));
        expect_new_game(&session, view, first_view);
    }
    expect_scores_file(session, *scores, "without a name entered");
}

TEST(StateTable, OverIgnoresPUnderEachSideScreenAndF2StartsAgainFromUnderOne) {
    GameSession session;
    ASSERT_TRUE(start_game(&session, {}));
    const std::string config = work_file(session, "config.dat");
    const auto scores = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores) << "no scores.dat written at start-up";
    EXPECT_TRUE(is_builtin_table(*scores))
        << "without scores.dat the game did not write its built-in table: " << hex_bytes(*scores);
    EXPECT_FALSE(file_exists(config)) << "config.dat is written before the program ends";
    const Image first_view = start_view(&session);

    note_transition(playing, "the first target escapes", over);
    ASSERT_TRUE(wait_until_over(&session));
    const auto ended = Clock::now();
    ASSERT_TRUE(shows(&session, over));
    // Ticks go on after the end: targets still come and fall.
    EXPECT_TRUE(targets_fall(&session));
    // P does not pause a game that is over: the targets fall on, the cursor stays hidden.
    ASSERT_TRUE(step(&session, over, "p", over));
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));
    EXPECT_FALSE(file_exists(config)) << "config.dat is written when the game is over";

    std::this_thread::sleep_until(ended + sparks_time);
    visit_with_p(&session, GameState::over, help, "Escape");
    visit_with_p(&session, GameState::over, hiscores, "x");
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(cursor_is(&session, false, true));
    visit_with_p(&session, GameState::over, about, "Return");
    // The aim line blew up at the end, its sparks long gone by now.
    EXPECT_TRUE(aim_line_shown(&session, false));

    ASSERT_TRUE(switch_screens(&session, over, {hiscores, help, about}));
    Image view;
    ASSERT_TRUE(step(&session, under(over, about), "F2", playing, &view));
    expect_new_game(&session, view, first_view);
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *scores, "without a name entered");
    EXPECT_TRUE(quit_game(&session));
    // The volumes the game starts with when it finds no config.dat: music and sound 128.
    EXPECT_EQ(file_hex(config), "80 00 00 00 80 00 00 00");
}

// The overlay's second line, the name prompt, grows with the name typed.
int prompt_width(GameSession* session) {
    const OverlayLook look = look_at_overlay(session);
    return overlay_kind(look.reading) == OverlayKind::new_hiscore ? width_of(look.reading.line2)
                                                                  : -1;
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

// The exactly orange pixels of a cell of the hi-score table.
std::vector<bool> cell_mask(const Image& view, int row, int column) {
    return colour_mask(view, hiscore_cell(row, column), row_orange);
}

TEST(StateTable, NamingGoesOnUnderTheSideScreensAndReturnSavesTheName) {
    GameSession session;
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    ASSERT_TRUE(start_game(&session, setup));
    const Image first_view = start_view(&session);
    // The prepared table as the hi-score screen shows it, to tell the new row by later.
    Image table_before;
    ASSERT_TRUE(step(&session, playing, "F5", under(playing, hiscores), &table_before));
    ASSERT_TRUE(step(&session, under(playing, hiscores), "Escape", playing));

    note_transition(playing, "a target escapes after a hit", naming);
    int shots = 0;
    ASSERT_TRUE(score_one_hit(&session, &shots));
    ASSERT_TRUE(wait_for_naming(&session));
    const auto ended = Clock::now();
    ASSERT_TRUE(shows(&session, naming));
    EXPECT_TRUE(targets_fall(&session));
    expect_scores_file(session, *setup.scores, "before the name was entered");

    // A name with one letter too many, held down past the keyboard's auto-repeat (it types
    // once), and taken back with Backspace.
    const int empty_prompt = prompt_width(&session);
    ASSERT_GT(empty_prompt, 0);
    ASSERT_TRUE(type_text(session.x.display, "Ace"));
    ASSERT_TRUE(hold_key(session.x.display, "x", Milliseconds(1200)));
    ASSERT_TRUE(press(&session, "BackSpace"));
    ASSERT_TRUE(prompt_is(&session, empty_prompt + 15, 400));
    pause_for(Milliseconds(200));
    const int typed_prompt = prompt_width(&session);
    std::this_thread::sleep_until(ended + sparks_time);

    // Side screens over the naming: the keys that leave them, P and the volume keys type
    // nothing, and the targets stand still under them.
    visit_with_p(&session, GameState::naming, hiscores, "x");
    EXPECT_TRUE(prompt_is(&session, typed_prompt - 2, typed_prompt + 2)) << "after x";
    EXPECT_TRUE(targets_fall(&session));
    const Shown on_help = under(naming, help), on_about = under(naming, about);
    ASSERT_TRUE(walk(&session, naming,
                     {{"F1", on_help},
                      {"Home", on_help},
                      {"F7", on_about},
                      {"End", on_about},
                      {"Escape", naming}}));
    EXPECT_TRUE(prompt_is(&session, typed_prompt - 2, typed_prompt + 2)) << "after Escape";
    ASSERT_TRUE(type_text(session.x.display, " 42"));
    ASSERT_TRUE(prompt_is(&session, typed_prompt + 10, 400));
    expect_scores_file(session, *setup.scores, "before Return");

    ASSERT_TRUE(step(&session, naming, "Return", over));
    ScoreTable table;
    const std::string scores_path = work_file(session, "scores.dat");
    EXPECT_TRUE(poll_until(Milliseconds(3000), Milliseconds(50),
                           [&] {
                               const auto bytes = read_bytes(scores_path);
                               return bytes && decode_scores(*bytes, &table) &&
                                      table[0].name == "Ace 42";
                           }))
        << "scores.dat does not hold \"Ace 42\" at rank 1 but \"" << table[0].name
        << "\": " << file_hex(scores_path);
    // One hit at level 1 scores 1 x 1 x the accuracy, the hits per shot in percent. The old
    // rows moved down one place; the last one dropped out.
    const uint32_t accuracy = static_cast<uint32_t>(100.0 / shots);
    EXPECT_EQ(table[0].level, 1);
    EXPECT_EQ(table[0].accuracy, accuracy) << "after " << shots << " shots";
    EXPECT_EQ(table[0].points, accuracy);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(table[i].name, "Z" + std::to_string(i));
        EXPECT_EQ(table[i].points, 0u);
    }
    const auto saved = read_bytes(scores_path);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(targets_fall(&session));
    EXPECT_TRUE(aim_line_shown(&session, false));

    // The hi-score screen shows the new row first and the old first row second.
    const Shown on_table = under(over, hiscores);
    Image table_after;
    ASSERT_TRUE(step(&session, over, "F5", on_table, &table_after));
    auto pictures = [&] {
        return "; see " + keep_picture(&session, table_before, "table_before") + " and " +
               keep_picture(&session, table_after, "table_after");
    };
    EXPECT_GT(count_colour(table_after, hiscore_cell(0, 0), row_orange),
              count_colour(table_before, hiscore_cell(0, 0), row_orange))
        << "the first row's name is not longer than Z1" << pictures();
    EXPECT_NE(cell_mask(table_after, 0, 3), cell_mask(table_before, 0, 3))
        << "the first row's points still read 0" << pictures();
    EXPECT_EQ(cell_mask(table_after, 1, 0), cell_mask(table_before, 0, 0))
        << "the old first row is not second" << pictures();
    ASSERT_TRUE(walk(&session, on_table, {{"p", on_table}, {"x", over}}));
    EXPECT_TRUE(targets_fall(&session));
    Image view;
    ASSERT_TRUE(step(&session, over, "F2", playing, &view));
    expect_new_game(&session, view, first_view);
    expect_scores_file(session, *saved, "after the name was saved");
}

// Names a new hi-score in part, opens the side screen (if any), and starts a new game with F2:
// the name is not saved. The two games run side by side, so that their waits overlap.
TEST(StateTable, F2LeavesANamingGameUnsavedWithOrWithoutASideScreen) {
    const SideScreen screens[2] = {none, about};
    GameSession sessions[2];
    Image first_views[2];
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    for (int i = 0; i < 2; ++i) {
        setup.name = name_of(under(naming, screens[i]));
        ASSERT_TRUE(start_game(&sessions[i], setup));
        first_views[i] = start_view(&sessions[i]);
        ASSERT_TRUE(score_one_hit(&sessions[i]));
    }
    for (int i = 0; i < 2; ++i) {
        GameSession* session = &sessions[i];
        const Shown from = under(naming, screens[i]);
        SCOPED_TRACE("F2 from " + name_of(from));
        note_transition(playing, "a target escapes after a hit", naming);
        ASSERT_TRUE(wait_for_naming(session));
        ASSERT_TRUE(type_text(session->x.display, "Q"));
        if (screens[i] != none) {
            ASSERT_TRUE(step(session, naming, key_of(screens[i]), from));
        }
        Image view;
        ASSERT_TRUE(step(session, from, "F2", playing, &view));
        expect_new_game(session, view, first_views[i]);
        EXPECT_TRUE(targets_fall(session));
        expect_scores_file(*session, *setup.scores, "by a name entry left with F2");
    }
}

} // namespace
