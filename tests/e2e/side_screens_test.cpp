// F1, F5 and F7 show the help, hi-score and about screens; they switch directly between each
// other, and a key without a command of its own goes back to the game.
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/game_session.h"
#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

using ScreenCheck = std::function<std::string(const Image&)>;

const ScreenCheck help = help_screen_problems;
const ScreenCheck hiscores = hiscore_screen_problems;
const ScreenCheck about = about_screen_problems;
const ScreenCheck game = game_view_problems;

struct NamedCheck {
    const char* screen;
    const ScreenCheck* check;
};
const NamedCheck all_screens[] = {{"help screen", &help},
                                  {"hi-score screen", &hiscores},
                                  {"about screen", &about},
                                  {"game view", &game}};

// Presses the key and waits until the view passes the check of that screen, and no other
// screen's check; on failure says what it saw.
testing::AssertionResult shows_after_key(GameSession* session, const std::string& key,
                                         const ScreenCheck& check, const std::string& screen) {
    if (!press(session, key))
        return testing::AssertionFailure() << "xdotool could not press " << key;
    Image last;
    if (!wait_for_picture(session, Milliseconds(3000), &last,
                          [&](const Image& view) { return check(view).empty(); }))
        return testing::AssertionFailure()
               << "after " << key << " the view is not the " << screen << ":\n"
               << check(last) << "see " << keep_picture(session, last, key + "_not_" + screen);
    for (const NamedCheck& other : all_screens)
        if (other.check != &check && (*other.check)(last).empty())
            return testing::AssertionFailure()
                   << "after " << key << " the view passes as both the " << screen << " and the "
                   << other.screen << "; see " << keep_picture(session, last, key + "_both");
    return testing::AssertionSuccess();
}

// Waits a little, then checks that the view is still the same screen.
testing::AssertionResult still_shows(GameSession* session, const ScreenCheck& check,
                                     const std::string& screen) {
    pause_for(Milliseconds(300));
    auto view = view_picture(session);
    if (!view)
        return testing::AssertionFailure() << "no picture";
    const std::string problems = check(*view);
    if (problems.empty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "the " << screen << " went away:\n"
           << problems << "see " << keep_picture(session, *view, "left_" + screen);
}

TEST(SideScreens, F1ShowsTheHelpAndEscapeGoesBackToTheGame) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    EXPECT_TRUE(shows_after_key(&session, "F1", help, "help screen"));
    // F1 again and P (no pause on the help screen) keep it.
    EXPECT_TRUE(shows_after_key(&session, "F1", help, "help screen"));
    ASSERT_TRUE(press(&session, "p"));
    EXPECT_TRUE(still_shows(&session, help, "help screen"));
    EXPECT_TRUE(shows_after_key(&session, "Escape", game, "game view"));
    // P was ignored there, so the game is not paused now.
    OverlayLook look = look_at_overlay(&session);
    ASSERT_TRUE(look.taken);
    EXPECT_EQ(overlay_kind(look.reading), OverlayKind::none)
        << describe(look.reading) << "; see " << keep_picture(&session, look.first, "overlay");
}

TEST(SideScreens, F5ShowsTheBuiltInHiScoresALetterGoesBackAndPPausesUnderneath) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    EXPECT_TRUE(shows_after_key(&session, "F5", hiscores, "hi-score screen"));
    EXPECT_TRUE(shows_after_key(&session, "x", game, "game view"));
    // On the hi-score screen P pauses the game underneath, which shows once the screen is left.
    EXPECT_TRUE(shows_after_key(&session, "F5", hiscores, "hi-score screen"));
    ASSERT_TRUE(press(&session, "p"));
    EXPECT_TRUE(still_shows(&session, hiscores, "hi-score screen"));
    EXPECT_TRUE(shows_after_key(&session, "x", game, "game view"));
    OverlayLook look;
    EXPECT_TRUE(wait_for_overlay(&session, OverlayKind::paused, Milliseconds(3000), &look))
        << describe(look.reading) << "; see " << keep_picture(&session, look.first, "not_paused");
}

TEST(SideScreens, F7ShowsTheAboutScreenAndTheScreensSwitchDirectly) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    EXPECT_TRUE(shows_after_key(&session, "F7", about, "about screen"));
    EXPECT_TRUE(shows_after_key(&session, "F1", help, "help screen"));
    EXPECT_TRUE(shows_after_key(&session, "F5", hiscores, "hi-score screen"));
    EXPECT_TRUE(shows_after_key(&session, "F7", about, "about screen"));
    EXPECT_TRUE(shows_after_key(&session, "5", game, "game view"));
    EXPECT_TRUE(shows_after_key(&session, "F5", hiscores, "hi-score screen"));
    EXPECT_TRUE(shows_after_key(&session, "Return", game, "game view"));
}

TEST(SideScreens, VolumeKeysChangeTheHelpLinesAndF12SavesThem) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    ASSERT_TRUE(shows_after_key(&session, "F1", help, "help screen"));
    auto before = view_picture(&session);
    ASSERT_TRUE(before);
    const Rect music_line{8, 340, 300, 353};
    const Rect sound_line{8, 355, 300, 368};
    // Page Up: the sound line changes from 50% to 54%, the music line stays; the screen stays.
    ASSERT_TRUE(press(&session, "Prior"));
    Image after;
    const bool changed =
        wait_for_picture(&session, Milliseconds(3000), &after, [&](const Image& v) {
            return count_differences(*before, v, sound_line) > 0;
        });
    EXPECT_TRUE(changed) << "the sound volume line did not change; see "
                         << keep_picture(&session, after, "sound_line");
    EXPECT_EQ(count_differences(*before, after, music_line), 0)
        << "the music volume line changed; see " << keep_picture(&session, after, "music_line");
    EXPECT_EQ(help_screen_problems(after), "");
    // End twice: the music line changes too.
    ASSERT_TRUE(press(&session, "End"));
    ASSERT_TRUE(press(&session, "End"));
    EXPECT_TRUE(wait_for_picture(
        &session, Milliseconds(3000), &after,
        [&](const Image& v) { return count_differences(*before, v, music_line) > 0; }))
        << "the music volume line did not change; see "
        << keep_picture(&session, after, "music_line");

    const ChildEnd end = quit_with_f12(&session, Milliseconds(5000));
    EXPECT_TRUE(end.ended && end.exited && end.exit_status == 0) << describe(end);
    const auto config = read_bytes(work_file(session, "config.dat"));
    ASSERT_TRUE(config) << "no config.dat after F12";
    // Music 128 - 20 = 108, sound 128 + 10 = 138.
    EXPECT_EQ(hex_bytes(*config), "6c 00 00 00 8a 00 00 00");
}

} // namespace
