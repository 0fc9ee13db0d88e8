// The two windows: the main view centred on the screen and focused, the gun view just left of
// it with their tops level, and the gun turning with the pointer.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"
#include "tests/e2e/polling.h"
#include "tests/e2e/view_reading.h"

namespace {

bool same_place(const WindowPlace& a, const WindowPlace& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::string describe(const WindowPlace& p) {
    return std::to_string(p.width) + "x" + std::to_string(p.height) + " at (" +
           std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

TEST(Windows, TheMainViewIsCentredAndTheGunViewSitsAtItsLeft) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    const WindowPlace main_expected{(screen_width - 400) / 2, (screen_height - 400) / 2, 400, 400};
    const WindowPlace gun_expected{main_expected.x - 100, main_expected.y, 100, 150};
    EXPECT_TRUE(same_place(session.main_place, main_expected))
        << "main window " << describe(session.main_place) << ", expected "
        << describe(main_expected);
    EXPECT_TRUE(same_place(session.gun_place, gun_expected))
        << "gun window " << describe(session.gun_place) << ", expected " << describe(gun_expected);
    // SDL gives the focus to the window shown last: the main one.
    EXPECT_EQ(focused_window(session.x.display), session.main_window);
    // Both show something: the view its HUD, the gun window the gun on black.
    auto view = view_picture(&session);
    ASSERT_TRUE(view);
    EXPECT_TRUE(hud_shown(*view)) << keep_picture(&session, *view, "view");
    auto gun = take_screenshot(session.x.display, session.gun_window);
    ASSERT_TRUE(gun);
    EXPECT_EQ(gun->width, 100);
    EXPECT_EQ(gun->height, 150);
    const int black = count_colour(*gun, {0, 0, gun->width, gun->height}, Rgb{0, 0, 0});
    EXPECT_GT(black, gun->width * gun->height / 4) << keep_picture(&session, *gun, "gun");
    EXPECT_GT(gun->width * gun->height - black, 200)
        << "no gun drawn; see " << keep_picture(&session, *gun, "gun");
}

TEST(Windows, TheGunTurnsWithThePointer) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    auto gun_picture = [&] { return take_screenshot(session.x.display, session.gun_window); };
    const auto straight = gun_picture();
    ASSERT_TRUE(straight);
    const Rect whole{0, 0, straight->width, straight->height};
    // Pointed up and to the left the gun looks different...
    ASSERT_TRUE(point_at(&session, 60, 40));
    std::optional<Image> turned;
    EXPECT_TRUE(poll_until(Milliseconds(2000), Milliseconds(50),
                           [&] {
                               turned = gun_picture();
                               return turned && count_differences(*straight, *turned, whole) > 100;
                           }))
        << "the gun did not turn; see " << keep_picture(&session, *straight, "straight");
    // ... and pointed back at the centre exactly as before: it is drawn from the angles alone.
    ASSERT_TRUE(point_at(&session, view_width / 2, view_height / 2));
    std::optional<Image> back;
    EXPECT_TRUE(poll_until(Milliseconds(2000), Milliseconds(50),
                           [&] {
                               back = gun_picture();
                               return back && count_differences(*straight, *back, whole) == 0;
                           }))
        << "the gun did not turn back; see " << keep_picture(&session, *straight, "straight")
        << " and " << keep_picture(&session, *back, "back");
}

} // namespace
