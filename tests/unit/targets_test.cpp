// Targets: when they appear, where, how they fall, tumble and escape, and what escaping does.
#include <gtest/gtest.h>

#include <set>

#include "app/random.h"
#include "app/state.h"
#include "game/entities.h"
#include "game/targets.h"
#include "store/hiscores.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class TargetTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        seed_random(1234);
    }
    int32_t explosion_sounds() const {
        return static_cast<int32_t>(fake::calls_starting("play -1 explode.wav").size());
    }
};

TEST_F(TargetTest, TheFirstThreeAppearEveryTwoSecondsAndThenTheCapHolds) {
    std::vector<int32_t> spawn_ticks;
    for (int32_t tick = 1; tick <= 1200; ++tick) {
        const int32_t before = live_targets;
        update_targets();
        if (live_targets > before)
            spawn_ticks.push_back(tick);
    }
    EXPECT_EQ(spawn_ticks, (std::vector<int32_t>{201, 401, 601}));
    EXPECT_EQ(checked_length(target_list), 3);
}

TEST_F(TargetTest, NewTargetsStartOnTheTopEdgeAtLevelOneDepth) {
    for (int i = 0; i < 50; ++i)
        spawn_target();
    for (const Target* t = target_list.first; t != nullptr; t = t->next) {
        EXPECT_EQ(t->object.position.z, -50.0f);
        EXPECT_EQ(t->object.position.y, -140.0f);
        EXPECT_GE(t->object.position.x, 1.0f);
        EXPECT_LE(t->object.position.x, 400.0f);
        EXPECT_FLOAT_EQ(t->object.velocity.y, 0.4f);
        EXPECT_EQ(t->object.red, 255);
        EXPECT_EQ(t->health, 1);
        EXPECT_EQ(t->reserved, 1);
    }
    EXPECT_EQ(live_targets, 50);
}

TEST_F(TargetTest, AWiderBandGivesTwentyOneDepths) {
    spawn_depth_range = 21.0f;
    std::set<float> depths;
    for (int i = 0; i < 600; ++i)
        spawn_target();
    for (const Target* t = target_list.first; t != nullptr; t = t->next)
        depths.insert(t->object.position.z);
    EXPECT_EQ(depths.size(), 21u);
    EXPECT_EQ(*depths.begin(), -70.0f);
    EXPECT_EQ(*depths.rbegin(), -50.0f);
}

TEST_F(TargetTest, TheDepthIsDrawnBeforeTheColumn) {
    spawn_depth_range = 50.0f;
    seed_random(777);
    spawn_target();
    seed_random(777);
    const float depth = -50.0f - static_cast<float>(next_random() % 50);
    const float x = static_cast<float>(next_random() % 400 + 1);
    EXPECT_EQ(target_list.first->object.position.z, depth);
    EXPECT_EQ(target_list.first->object.position.x, x);
}

TEST_F(TargetTest, ANewTargetMovesInItsFirstTick) {
    spawn_counter = 200;
    update_targets();
    ASSERT_EQ(live_targets, 1);
    EXPECT_FLOAT_EQ(target_list.first->object.position.y, -140.0f + 0.4f);
}

TEST_F(TargetTest, TheBottomEdgeItselfIsInside) {
    add_target(100, 540.0f - 0.5f, -50, 0.5f);
    update_targets();
    EXPECT_EQ(game_over, 0);
    EXPECT_EQ(live_targets, 1);
    update_targets();
    EXPECT_EQ(game_over, 1);
    EXPECT_EQ(live_targets, 0);
    EXPECT_EQ(target_list.first, nullptr);
    // The aim line's ten bursts of 20, then the target's 100, each with its sound.
    EXPECT_EQ(checked_length(particle_list), 300);
    EXPECT_EQ(explosion_sounds(), 11);
}

TEST_F(TargetTest, EscapingAnyOtherWayAlsoEndsTheGame) {
    for (const Vec3& p :
         {Vec3{-140.5f, 100, -50}, Vec3{541, 100, -50}, Vec3{100, -141, -50}, Vec3{100, 100, 10}}) {
        game_over = 0;
        add_target(p.x, p.y, p.z);
        update_targets();
        EXPECT_EQ(game_over, 1) << p.x << "," << p.y << "," << p.z;
        EXPECT_EQ(live_targets, 0);
    }
}

TEST_F(TargetTest, AHitTargetStillMovesAndCanStillEscape) {
    Target* hit = add_target(100, 540, -50, 0.4f);
    hit->health = 0;
    update_targets();
    EXPECT_EQ(game_over, 1);
    EXPECT_EQ(live_targets, 0);
    EXPECT_EQ(checked_length(particle_list), 300);
}

TEST_F(TargetTest, TwoEscapesInOneTickEndTheGameOnce) {
    points = 20000;
    add_target(100, 541, -50);
    add_target(300, 600, -50);
    update_targets();
    EXPECT_EQ(explosion_sounds(), 12);
    EXPECT_EQ(checked_length(particle_list), 400);
    // One offer to the table: the new row at the top, the old top row right below it.
    EXPECT_EQ(hiscores[0].points, 20000u);
    EXPECT_EQ(hiscores[1].points, 10000u);
    EXPECT_EQ(entering_name, 1);
}

TEST_F(TargetTest, LaterEscapesOnlyExplode) {
    game_over = 1;
    add_target(100, 600, -50);
    update_targets();
    EXPECT_EQ(explosion_sounds(), 1);
    EXPECT_EQ(checked_length(particle_list), 100);
    EXPECT_EQ(entering_name, 0);
}

TEST_F(TargetTest, TumblingPast360StartsAgainFromZero) {
    // Find a seed whose first draw gives a turn of 2 degrees.
    uint32_t seed = 0;
    do {
        seed_random(++seed);
    } while (next_random() % 3 != 2);
    Target* target = add_target(200, 0, -50);
    target->object.angle_x = 359.5f;
    seed_random(seed);
    update_targets();
    EXPECT_EQ(target->object.angle_x, 0.0f);
}

TEST_F(TargetTest, AViewWithNoWidthSpawnsNothing) {
    views[main_view].width = 0;
    spawn_counter = 200;
    update_targets();
    EXPECT_EQ(live_targets, 0);
    EXPECT_EQ(spawn_counter, 1);
}

TEST_F(TargetTest, AFailedAllocationSaysSoAndMakesNoTarget) {
    fail_nothrow_allocations = true;
    spawn_target();
    fail_nothrow_allocations = false;
    EXPECT_EQ(fake::state().message_boxes, (std::vector<std::string>{"woo|w"}));
    EXPECT_EQ(live_targets, 0);
    EXPECT_EQ(target_list.first, nullptr);
}

} // namespace
