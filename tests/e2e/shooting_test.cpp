// Shooting targets: hits score, and the fifth hit at level 1 raises the level.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/game_states.h"
#include "tests/e2e/shooting.h"
#include "tests/e2e/view_reading.h"

namespace {

TEST(Shooting, FiveHitsRaiseTheLevelOnTheHud) {
    GameSession session;
    ASSERT_TRUE(start_game(&session, {}));
    Image start;
    ASSERT_TRUE(shows(&session, {GameState::playing}, &start));

    // Targets come every 2 s from 2 s on; the first escape would come at about 19 s.
    ShootingRecord shooting;
    const bool hit_five = shoot_targets(&session, 5, Milliseconds(16000), &shooting);
    std::cout << "[   e2e    ] " << shooting.hits << " hit(s) in " << shooting.shots
              << " shot(s):\n"
              << shooting.log;
    ASSERT_TRUE(hit_five) << shooting.hits << " hits in " << shooting.shots << " shots";

    // LEVEL 1 becomes 2, TO NEXT 5 becomes 10, and the points have grown to three digits or
    // more (at least 5 x 1 x 1 x 10).
    Image view;
    EXPECT_TRUE(wait_for_picture(&session, Milliseconds(2000), &view,
                                 [&](const Image& v) {
                                     const Extent level = hud_value(v, 2);
                                     return level.count > 0 &&
                                            level.count != hud_value(start, 2).count &&
                                            hud_value(v, 3).right >= hud_value(start, 3).right + 4;
                                 }))
        << "LEVEL and TO NEXT did not change as for level 2: level pixels "
        << hud_value(start, 2).count << " -> " << hud_value(view, 2).count
        << ", to-next right edge " << hud_value(start, 3).right << " -> "
        << hud_value(view, 3).right << "; see " << keep_picture(&session, view, "level");
    EXPECT_GE(hud_value(view, 0).right, hud_value(start, 0).right + 10)
        << "the points did not grow to three digits; see "
        << keep_picture(&session, view, "points");
    // The game goes on.
    EXPECT_TRUE(shows(&session, {GameState::playing}));
}

} // namespace
