// P pauses the game: the targets stand still under the pause overlay and the gun does not
// fire; P again lets them fall on.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/e2e/game_session.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

std::string describe(const std::vector<Blob>& blobs) {
    std::ostringstream text;
    for (const Blob& blob : blobs)
        text << "(" << blob.x << "," << blob.y << ", " << blob.pixels << " px) ";
    return text.str();
}

// Every target of the first picture shows again in the second, fallen by this many pixels
// (give or take the tumble's change of shape).
bool fell_by(const std::vector<Blob>& first, const std::vector<Blob>& second, double low,
             double high) {
    if (first.empty())
        return false;
    for (const Blob& a : first) {
        bool found = false;
        for (const Blob& b : second)
            found = found || (std::abs(b.x - a.x) < 3 && b.y - a.y >= low && b.y - a.y <= high);
        if (!found)
            return false;
    }
    return true;
}

bool same_places(const std::vector<Blob>& first, const std::vector<Blob>& second) {
    if (first.size() != second.size())
        return false;
    for (size_t i = 0; i < first.size(); ++i)
        if (std::abs(first[i].x - second[i].x) > 0.01 ||
            std::abs(first[i].y - second[i].y) > 0.01 || first[i].pixels != second[i].pixels)
            return false;
    return true;
}

struct TwoLooks {
    Image first, second;
    std::vector<Blob> first_blobs, second_blobs;
};

// Two pictures half a second apart, and the targets in each.
bool two_looks(GameSession* session, TwoLooks* looks) {
    auto first = view_picture(session);
    pause_for(Milliseconds(500));
    auto second = view_picture(session);
    if (!first || !second)
        return false;
    looks->first = std::move(*first);
    looks->second = std::move(*second);
    looks->first_blobs = find_red_blobs(looks->first);
    looks->second_blobs = find_red_blobs(looks->second);
    return true;
}

TEST(Pause, PFreezesTheTargetsUnderThePauseOverlayAndPResumes) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    // The first target appears two seconds after the start.
    Image view;
    ASSERT_TRUE(wait_for_picture(&session, Milliseconds(6000), &view,
                                 [](const Image& v) { return !find_red_blobs(v).empty(); }))
        << "no target appeared; see " << keep_picture(&session, view, "no_target");

    TwoLooks looks;
    // Half a second is 50 ticks of 0.4 units, 20 units, 10 pixels at the targets' depth.
    ASSERT_TRUE(two_looks(&session, &looks));
    EXPECT_TRUE(fell_by(looks.first_blobs, looks.second_blobs, 5, 25))
        << "targets did not fall while playing: " << describe(looks.first_blobs) << "then "
        << describe(looks.second_blobs) << "; see " << keep_picture(&session, looks.first, "play1")
        << " and " << keep_picture(&session, looks.second, "play2");

    ASSERT_TRUE(press(&session, "p"));
    OverlayLook look;
    EXPECT_TRUE(wait_for_overlay(&session, OverlayKind::paused, Milliseconds(3000), &look))
        << "no pause overlay; last saw " << describe(look.reading) << "; see "
        << keep_picture(&session, look.first, "not_paused");

    ASSERT_TRUE(two_looks(&session, &looks));
    EXPECT_FALSE(looks.first_blobs.empty());
    EXPECT_TRUE(same_places(looks.first_blobs, looks.second_blobs))
        << "targets moved while paused: " << describe(looks.first_blobs) << "then "
        << describe(looks.second_blobs) << "; see "
        << keep_picture(&session, looks.first, "paused1") << " and "
        << keep_picture(&session, looks.second, "paused2");

    // A click while paused fires nothing: the accuracy stays 100%.
    const Extent accuracy_before = hud_value(looks.second, 1);
    ASSERT_TRUE(fire(&session));
    pause_for(Milliseconds(300));
    look = look_at_overlay(&session);
    ASSERT_TRUE(look.taken);
    const Extent accuracy_after = hud_value(look.first, 1);
    EXPECT_EQ(accuracy_after.count, accuracy_before.count)
        << "the HUD's accuracy changed after a click while paused; see "
        << keep_picture(&session, look.first, "paused_click");
    EXPECT_EQ(accuracy_after.right, accuracy_before.right);
    EXPECT_EQ(overlay_kind(look.reading), OverlayKind::paused) << describe(look.reading);

    ASSERT_TRUE(press(&session, "p"));
    EXPECT_TRUE(wait_for_overlay(&session, OverlayKind::none, Milliseconds(3000), &look))
        << "the overlay stayed after the second P: " << describe(look.reading) << "; see "
        << keep_picture(&session, look.first, "still_paused");
    ASSERT_TRUE(two_looks(&session, &looks));
    EXPECT_TRUE(fell_by(looks.first_blobs, looks.second_blobs, 5, 25))
        << "targets did not fall after the pause: " << describe(looks.first_blobs) << "then "
        << describe(looks.second_blobs) << "; see "
        << keep_picture(&session, looks.first, "resumed1") << " and "
        << keep_picture(&session, looks.second, "resumed2");
}

} // namespace
