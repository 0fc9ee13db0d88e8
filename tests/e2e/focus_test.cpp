// The game plays while one of its two windows has the keyboard focus; with the focus elsewhere
// it stands still, and the time away is not played afterwards.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/e2e/game_session.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"
#include "tests/e2e/x_client.h"

namespace {

// Targets fall 0.4 units a tick, 20 pixels a second at their depth.
constexpr double pixels_per_second = 20.0;

std::string describe(const std::vector<Blob>& blobs) {
    std::ostringstream text;
    for (const Blob& blob : blobs)
        text << "(" << blob.x << "," << blob.y << ") ";
    return text.str();
}

// How far the target lowest in the first picture fell by the second: the nearest target below
// it at the same x (targets fall straight down); -1000 if there is none.
double fall_of_lowest(const std::vector<Blob>& first, const std::vector<Blob>& second) {
    if (first.empty())
        return -1000;
    const Blob* lowest = &first[0];
    for (const Blob& blob : first)
        if (blob.y > lowest->y)
            lowest = &blob;
    double fall = -1000;
    for (const Blob& blob : second) {
        const double dy = blob.y - lowest->y;
        if (std::abs(blob.x - lowest->x) < 3 && dy > -2 && (fall == -1000 || dy < fall))
            fall = dy;
    }
    return fall;
}

std::vector<Blob> targets_now(GameSession* session, Image* view) {
    auto picture = view_picture(session);
    if (!picture)
        return {};
    *view = std::move(*picture);
    return find_red_blobs(*view);
}

TEST(Focus, TheGamePlaysOnlyWhileOneOfItsWindowsHasTheFocus) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;
    Image view;
    ASSERT_TRUE(wait_for_picture(&session, Milliseconds(6000), &view,
                                 [](const Image& v) { return !find_red_blobs(v).empty(); }))
        << "no target appeared; see " << keep_picture(&session, view, "no_target");

    // The focus moving to the gun window is no leaving: the targets fall on.
    ASSERT_TRUE(focus_window(session.x.display, session.gun_window));
    pause_for(Milliseconds(200));
    Image first_view, second_view;
    auto first = targets_now(&session, &first_view);
    pause_for(Milliseconds(500));
    auto second = targets_now(&session, &second_view);
    EXPECT_GE(fall_of_lowest(first, second), 5)
        << "targets stood still with the gun window focused: " << describe(first) << "then "
        << describe(second) << "; see " << keep_picture(&session, second_view, "gun_focused");

    // With the focus on the root window nothing moves, the aim line's spin included.
    const std::string root = root_window(session.x.display);
    ASSERT_FALSE(root.empty());
    ASSERT_TRUE(focus_window(session.x.display, root));
    // The game stops drawing once it has heard of the change: two pictures in a row agree.
    EXPECT_TRUE(poll_until(Milliseconds(3000), Milliseconds(10),
                           [&] {
                               first = targets_now(&session, &first_view);
                               pause_for(Milliseconds(200));
                               second = targets_now(&session, &second_view);
                               return count_differences(first_view, second_view, whole_view) == 0;
                           }))
        << "the view kept changing with the focus away; see "
        << keep_picture(&session, second_view, "away");
    pause_for(Milliseconds(2000));
    second = targets_now(&session, &second_view);
    EXPECT_EQ(count_differences(first_view, second_view, whole_view), 0)
        << "the view changed with the focus away; see "
        << keep_picture(&session, first_view, "away1") << " and "
        << keep_picture(&session, second_view, "away2");

    // Back in focus, the targets go on from where they stood: the two seconds away are not
    // made up at once.
    ASSERT_TRUE(focus_window(session.x.display, session.main_window));
    const auto back_at = std::chrono::steady_clock::now();
    Image back_view;
    std::vector<Blob> back;
    double fall = -1000;
    const bool moved = poll_until(Milliseconds(3000), Milliseconds(20), [&] {
        back = targets_now(&session, &back_view);
        fall = fall_of_lowest(second, back);
        return fall >= 1;
    });
    const double seconds_back =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - back_at).count();
    EXPECT_TRUE(moved) << "targets did not fall on after the focus came back: " << describe(second)
                       << "then " << describe(back) << "; see "
                       << keep_picture(&session, back_view, "back");
    EXPECT_LE(fall, (seconds_back + 0.5) * pixels_per_second)
        << "targets jumped after the focus came back: " << describe(second) << "then "
        << describe(back) << " " << seconds_back << " s later; see "
        << keep_picture(&session, back_view, "back");
}

} // namespace
