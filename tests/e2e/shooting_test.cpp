// Shooting targets: hits score, and the fifth hit at level 1 raises the level.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/game_session.h"
#include "tests/e2e/shooting.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

TEST(Shooting, FiveHitsRaiseTheLevelOnTheHud) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;
    auto start = view_picture(&session);
    ASSERT_TRUE(start);
    const Extent points_before = hud_value(*start, 0);
    const Extent level_before = hud_value(*start, 2);
    const Extent to_next_before = hud_value(*start, 3);

    // Targets come every 2 s from 2 s on; the first escape would come at about 19 s.
    ShootingRecord shooting;
    const bool hit_five = shoot_targets(&session, 5, Milliseconds(16000), &shooting);
    std::cout << "[   e2e    ] " << shooting.hits << " hit(s) in " << shooting.shots
              << " shot(s):\n"
              << shooting.log;
    ASSERT_TRUE(hit_five) << shooting.hits << " hits in " << shooting.shots << " shots:\n"
                          << shooting.log;

    // LEVEL 1 becomes 2, TO NEXT 5 becomes 10, and the points have grown to three digits or
    // more (at least 5 x 1 x 1 x 10).
    Image view;
    const bool levelled =
        wait_for_picture(&session, Milliseconds(2000), &view, [&](const Image& v) {
            const Extent level = hud_value(v, 2);
            const Extent to_next = hud_value(v, 3);
            return level.count > 0 && level.count != level_before.count &&
                   to_next.right >= to_next_before.right + 4;
        });
    EXPECT_TRUE(levelled) << "LEVEL and TO NEXT did not change as for level 2: level pixels "
                          << level_before.count << " -> " << hud_value(view, 2).count
                          << ", to-next right edge " << to_next_before.right << " -> "
                          << hud_value(view, 3).right << "; see "
                          << keep_picture(&session, view, "level");
    EXPECT_GE(hud_value(view, 0).right, points_before.right + 10)
        << "the points did not grow to three digits; see "
        << keep_picture(&session, view, "points");
    // The game goes on.
    const OverlayLook look = look_at_overlay(&session);
    ASSERT_TRUE(look.taken);
    EXPECT_EQ(overlay_kind(look.reading), OverlayKind::none) << describe(look.reading);
}

} // namespace
