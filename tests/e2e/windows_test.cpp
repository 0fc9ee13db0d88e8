// The two windows: the main view centred on the screen and focused, the gun view just left of
// it with their tops level, and the gun turning with the pointer. The game plays while one of
// them has the keyboard focus; with the focus elsewhere it stands still, and the time away is
// not played afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/game_states.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/x_client.h"

namespace {

std::string describe(const WindowPlace& p) {
    return std::to_string(p.width) + "x" + std::to_string(p.height) + " at (" +
           std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

TEST(Windows, TheMainViewIsCentredAndTheGunViewSitsAtItsLeftTurningWithThePointer) {
    GameSession session;
    // The session finds the windows by their titles, "Zarnok 3D v1.01" and "Gun".
    ASSERT_TRUE(start_game(&session, {}));
    const WindowPlace main{(screen_width - 400) / 2, (screen_height - 400) / 2, 400, 400};
    EXPECT_EQ(describe(session.main_place), describe(main)) << "the main window";
    EXPECT_EQ(describe(session.gun_place), describe({main.x - 100, main.y, 100, 150}))
        << "the gun window";
    // SDL gives the focus to the window shown last: the main one.
    EXPECT_EQ(focused_window(session.x.display), session.main_window);

    // The gun window shows the gun on black.
    auto gun_picture = [&] { return take_screenshot(session.x.display, session.gun_window); };
    const auto straight = gun_picture();
    ASSERT_TRUE(straight && straight->width == 100 && straight->height == 150);
    const Rect whole{0, 0, 100, 150};
    const int black = count_colour(*straight, whole, Rgb{0, 0, 0});
    EXPECT_GT(black, 100 * 150 / 4) << keep_picture(&session, *straight, "gun");
    EXPECT_GT(100 * 150 - black, 200)
        << "no gun drawn; see " << keep_picture(&session, *straight, "gun");
    // Pointed up and to the left the gun looks different, and pointed back at the centre exactly
    // as before: it is drawn from the angles alone.
    std::optional<Image> turned;
    ASSERT_TRUE(point_at(&session, 60, 40));
    EXPECT_TRUE(poll_until(Milliseconds(2000), Milliseconds(50),
                           [&] {
                               turned = gun_picture();
                               return turned && count_differences(*straight, *turned, whole) > 100;
                           }))
        << "the gun did not turn; see " << keep_picture(&session, *straight, "straight");
    ASSERT_TRUE(point_at(&session, view_width / 2, view_height / 2));
    EXPECT_TRUE(poll_until(Milliseconds(2000), Milliseconds(50),
                           [&] {
                               turned = gun_picture();
                               return turned && count_differences(*straight, *turned, whole) == 0;
                           }))
        << "the gun did not turn back; see " << keep_picture(&session, *straight, "straight")
        << " and " << (turned ? keep_picture(&session, *turned, "back") : "(no picture)");
}

TEST(Focus, TheGamePlaysOnlyWhileOneOfItsWindowsHasTheFocus) {
    GameSession session;
    ASSERT_TRUE(start_game(&session, {}));
    const std::string& display = session.x.display;

    // The focus moving to the gun window is no leaving: the targets fall on.
    ASSERT_TRUE(focus_window(display, session.gun_window));
    pause_for(Milliseconds(200));
    EXPECT_TRUE(targets_fall(&session)) << "with the gun window focused";

    // With the focus on the root window nothing moves, the aim line's spin included. The game
    // stops drawing once it has heard of the change: two pictures in a row agree.
    const std::string root = root_window(display);
    ASSERT_FALSE(root.empty());
    ASSERT_TRUE(focus_window(display, root));
    Image away, later;
    EXPECT_TRUE(poll_until(Milliseconds(3000), Milliseconds(10),
                           [&] {
                               auto first = view_picture(&session);
                               pause_for(Milliseconds(200));
                               auto second = view_picture(&session);
                               if (!first || !second)
                                   return false;
                               away = std::move(*first);
                               later = std::move(*second);
                               return count_differences(away, later, whole_view) == 0;
                           }))
        << "the view kept changing with the focus away; see "
        << keep_picture(&session, later, "away");
    pause_for(Milliseconds(2000));
    auto still = view_picture(&session);
    ASSERT_TRUE(still);
    EXPECT_EQ(count_differences(away, *still, whole_view), 0)
        << "the view changed with the focus away; see " << keep_picture(&session, away, "away1")
        << " and " << keep_picture(&session, *still, "away2");

    // Back in focus, the targets go on from where they stood: the two seconds away are not
    // made up at once, as a fall of 40 pixels.
    ASSERT_TRUE(focus_window(display, session.main_window));
    const auto back_at = std::chrono::steady_clock::now();
    std::vector<std::optional<Move>> moves;
    const bool moved = wait_for_picture(&session, Milliseconds(3000), &later, [&](const Image& v) {
        moves = target_moves(away, v);
        return std::any_of(moves.begin(), moves.end(), [](auto m) { return m && m->dy >= 1; });
    });
    const double seconds_back =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - back_at).count();
    EXPECT_TRUE(moved) << "targets did not fall on after the focus came back; see "
                       << keep_picture(&session, away, "away") << " and "
                       << keep_picture(&session, later, "back");
    for (const auto& m : moves)
        EXPECT_TRUE(!m || m->dy <= (seconds_back + 0.5) * 20)
            << "targets jumped by " << m->dy << " px " << seconds_back
            << " s after the focus came back; see " << keep_picture(&session, later, "back");
}

} // namespace
