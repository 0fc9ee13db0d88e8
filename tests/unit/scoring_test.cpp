// Accuracy, points, levels, the end of a game, and the waiting hi-score row.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/random.h"
#include "app/state.h"
#include "game/entities.h"
#include "game/scoring.h"
#include "game/shots.h"
#include "render/gun_view.h"
#include "render/scene.h"
#include "store/hiscores.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class ScoringTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        fake::state().log.clear();
    }
    // A shot on a target: fired, then hitting in the next tick.
    void hit_a_target() {
        add_target(200, 200, -6);
        fire_shot();
        update_shots();
    }
};

TEST_F(ScoringTest, AShotCountsAtOnceAndItsHitScoresAtFullAccuracy) {
    count_shot();
    EXPECT_EQ(accuracy, 0);
    score_hit();
    EXPECT_EQ(accuracy, 100);
    EXPECT_EQ(points, 100u);
    EXPECT_EQ(to_next, 4);
}

TEST_F(ScoringTest, AccuracyIsTruncated) {
    for (int i = 0; i < 3; ++i)
        count_shot();
    score_hit();
    score_hit();
    EXPECT_EQ(accuracy, 66);
    EXPECT_EQ(points, 33u + 66u);
}

TEST_F(ScoringTest, TheFifthHitScoresAtLevelOneThenRaisesTheLevel) {
    for (int i = 0; i < 4; ++i)
        hit_a_target();
    fake::state().log.clear();
    hit_a_target();
    EXPECT_EQ(points, 500u);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(to_next, 10);
    EXPECT_EQ(max_targets, 6);
    EXPECT_EQ(spawn_interval, 185);
    EXPECT_FLOAT_EQ(spawn_depth_range, 21.0f);
    EXPECT_NEAR(fall_speed, 0.45f, 1e-6f);
    // The level-up sample sounds before the target's explosion.
    EXPECT_EQ(fake::state().log, (std::vector<std::string>{"play -1 gun.wav", "play -1 yeah.wav",
                                                           "play -1 explode.wav"}));
}

TEST_F(ScoringTest, LevelValuesReachTheirLimits) {
    std::vector<int32_t> intervals, ranges;
    while (level < 14) {
        level_up();
        intervals.push_back(spawn_interval);
        ranges.push_back(static_cast<int32_t>(spawn_depth_range));
        EXPECT_EQ(to_next, 5 * level);
        EXPECT_EQ(max_targets, 3 * level);
    }
    EXPECT_EQ(intervals[10], 35); // level 12
    EXPECT_EQ(intervals[11], 25); // level 13
    EXPECT_EQ(intervals[12], 25);
    EXPECT_EQ(ranges[8], 181); // level 10
    EXPECT_EQ(ranges[9], 200); // level 11
    EXPECT_EQ(ranges[12], 200);
    float expected_speed = 0.4f;
    for (int i = 0; i < 13; ++i)
        expected_speed = static_cast<float>(static_cast<double>(expected_speed) + 0.05);
    EXPECT_EQ(fall_speed, expected_speed);
}

TEST_F(ScoringTest, PointsGrowWithTheSquareOfTheLevel) {
    level = 7;
    shots_fired = 1;
    score_hit();
    EXPECT_EQ(points, 49u * 100u);
}

TEST_F(ScoringTest, TheEndOfAGameBlowsUpTheAimLineInOrder) {
    views[main_view].mouse_x = 300;
    views[main_view].mouse_y = 100;
    draw_gun_view();
    update_aim_line();
    seed_random(8);
    end_game();
    EXPECT_EQ(fake::calls_starting("play -1 explode.wav").size(), 10u);
    EXPECT_EQ(checked_length(particle_list), 200);
    // Bursts of 20, in the order of the cubes along the line.
    const Particle* p = particle_list.first;
    for (int cube = 0; cube < aim_cube_count; ++cube)
        for (int i = 0; i < 20; ++i, p = p->next) {
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->object.position.x, aim_cubes[cube].position.x);
            EXPECT_EQ(p->object.position.z, aim_cubes[cube].position.z);
        }
}

TEST_F(ScoringTest, WhileNamingEachHitRewritesTheWaitingRowBeforeLevelling) {
    points = 0;
    insert_hiscore(); // 0 points never enter
    EXPECT_EQ(entering_name, 0);
    points = 150;
    level = 1;
    accuracy = 100;
    insert_hiscore();
    ASSERT_EQ(entering_name, 1);
    ASSERT_EQ(new_rank, 4);
    to_next = 1;
    shots_fired = 3;
    hits = 1;
    score_hit(); // 2 of 3: 66%, 66 points, then the level rises
    EXPECT_EQ(hiscores[4].points, 216u);
    EXPECT_EQ(hiscores[4].accuracy & 0xFF, 66u);
    EXPECT_EQ(hiscores[4].level, 1);
    EXPECT_EQ(level, 2);
    entering_name = 0;
    score_hit();
    EXPECT_EQ(hiscores[4].points, 216u); // a confirmed row no longer follows
}

} // namespace
