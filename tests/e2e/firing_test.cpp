// A click in the game view fires a shot from the view's centre, and the HUD counts it.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"
#include "tests/e2e/x_tools.h"

namespace {

// Where a shot fired straight ahead shows while it flies off into the depth.
const Rect view_centre = around(view_width / 2, view_height / 2, 40);

TEST(Firing, ClickShowsAShotAtTheCentreAndAccuracyDropsToZero) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    // Before any click nothing light grey is drawn at the centre: the aim line there is green.
    Image before;
    for (int i = 0; i < 3; ++i) {
        auto picture = view_picture(&session);
        ASSERT_TRUE(picture);
        before = std::move(*picture);
        ASSERT_EQ(count_shot_pixels(before, session.background, view_centre), 0)
            << "shot-like pixels before any click; see "
            << keep_picture(&session, before, "before");
    }
    const Extent accuracy_before = hud_value(before, 1);
    const Extent points_before = hud_value(before, 0);

    // A shot shows big and white only for its first tenth of a second or so: keep taking
    // pictures from just before the click on.
    const ScreenshotBurst burst = start_screenshot_burst(session.x.display, session.main_window, 12,
                                                         work_file(session, "burst_"));
    ASSERT_GE(burst.pid, 0);
    pause_for(Milliseconds(60));
    ASSERT_TRUE(fire(&session));
    const std::vector<Image> pictures = finish_screenshot_burst(burst);
    ASSERT_GE(pictures.size(), 6u) << "the screenshot burst gave too few pictures";
    size_t best = 0;
    int most = -1;
    std::string counts;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int count = count_shot_pixels(pictures[i], session.background, view_centre);
        counts += " " + std::to_string(count);
        if (count > most) {
            most = count;
            best = i;
        }
    }
    EXPECT_GE(most, 4) << "no white shot near the view's centre after the click (shot pixels in "
                          "the pictures:"
                       << counts
                       << "); best picture: " << keep_picture(&session, pictures[best], "no_shot");

    // The shot flies straight into the empty depth and hits nothing: "100%" becomes "0%".
    Image after;
    const bool dropped =
        wait_for_picture(&session, Milliseconds(2000), &after, [&](const Image& v) {
            const Extent accuracy = hud_value(v, 1);
            return accuracy.count > 0 && accuracy.right <= accuracy_before.right - 8 &&
                   accuracy.count < accuracy_before.count;
        });
    const Extent accuracy_after = hud_value(after, 1);
    EXPECT_TRUE(dropped) << "accuracy value did not shrink from 100% to 0%: yellow pixels "
                         << accuracy_before.count << " -> " << accuracy_after.count
                         << ", right edge " << accuracy_before.right << " -> "
                         << accuracy_after.right << "; see "
                         << keep_picture(&session, after, "accuracy");
    // The points stay 0.
    const Extent points_after = hud_value(after, 0);
    EXPECT_EQ(points_after.count, points_before.count) << keep_picture(&session, after, "points");
    EXPECT_EQ(points_after.right, points_before.right);
}

} // namespace
