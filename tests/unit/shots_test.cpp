// Firing, flying and hitting: when a shot may be fired, its aimed velocity, and what it hits.
#include <gtest/gtest.h>

#include <cmath>

#include "app/random.h"
#include "app/state.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "game/particles.h"
#include "game/shots.h"
#include "game/targets.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class ShotTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        seed_random(42);
        fake::state().log.clear();
    }
    // A shot placed at p that has not moved yet, with the given velocity.
    Shot* add_shot(Vec3 p, Vec3 v = {0, 0, 0}) {
        Shot* shot = append_record(&shot_list);
        make_box(p.x - v.x, p.y - v.y, p.z - v.z, 0, 0, 0, v.x, v.y, v.z, 3, 3, 3, &shot->object);
        return shot;
    }
};

TEST_F(ShotTest, AimedVelocitiesFollowThePitchAndYaw) {
    Vec3 v = aimed_velocity(6.5f, 0, 30);
    EXPECT_NEAR(v.x, 3.2485, 0.0001);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_NEAR(v.z, -5.6300, 0.0001); // from the yaw: its integer part 5 is below 6
    v = aimed_velocity(6.5f, 30, 0);
    EXPECT_NEAR(v.x, 0.0, 0.0001);
    EXPECT_NEAR(v.y, -3.2485, 0.0001);
    EXPECT_NEAR(v.z, -5.6300, 0.0001);
    v = aimed_velocity(6.5f, 60, 60); // equal integer parts keep the pitch
    EXPECT_NEAR(v.z, -3.2530, 0.0001);
    v = aimed_velocity(6.5f, 60, 80);
    EXPECT_NEAR(v.z, -6.5 * std::cos(80 * 3.14 / 180), 0.0001);
}

TEST_F(ShotTest, FiringMakesAWhiteCubeAtTheCentreWithItsSoundAndCount) {
    gun_model.angle_x = 0;
    gun_model.angle_y = 30;
    fire_shot();
    ASSERT_EQ(checked_length(shot_list), 1);
    const Object3D& o = shot_list.first->object;
    EXPECT_EQ(o.position.x, 200.0f);
    EXPECT_EQ(o.position.y, 200.0f);
    EXPECT_EQ(o.position.z, 0.0f);
    EXPECT_NEAR(o.velocity.x, 3.2485, 0.0001);
    EXPECT_EQ(o.red, 300);
    EXPECT_EQ(fake::state().log, (std::vector<std::string>{"play -1 gun.wav"}));
    EXPECT_EQ(shots_fired, 1);
    EXPECT_EQ(accuracy, 0);
}

TEST_F(ShotTest, NoShotWhileOverPausedOrOnTheHelpScreen) {
    for (int32_t* flag : {&game_over, &paused, &help_shown}) {
        *flag = 1;
        fire_shot();
        *flag = 0;
    }
    EXPECT_EQ(shot_list.first, nullptr);
    EXPECT_EQ(shots_fired, 0);
    EXPECT_EQ(accuracy, 100);
    EXPECT_TRUE(fake::state().log.empty());
}

TEST_F(ShotTest, FiringBehindTheHiScoreOrAboutScreenStillWorks) {
    hiscores_shown = 1;
    fire_shot();
    hiscores_shown = 0;
    about_shown = 1;
    fire_shot();
    EXPECT_EQ(shots_fired, 2);
}

TEST_F(ShotTest, AShotStraightAheadRetiresOnItsThirtyNinthTick) {
    gun_model.angle_x = gun_model.angle_y = 0;
    fire_shot();
    for (int tick = 1; tick <= 38; ++tick) {
        update_shots();
        ASSERT_NE(shot_list.first, nullptr) << tick;
    }
    EXPECT_FLOAT_EQ(shot_list.first->object.position.z, -247.0f);
    update_shots();
    EXPECT_EQ(shot_list.first, nullptr);
}

TEST_F(ShotTest, WithinFifteenPointNineHitsAndSixteenMisses) {
    Target* near = add_target(100 + 15.9f, 100 - 15.9f, -50 + 15.9f);
    add_shot({100, 100, -50});
    update_shots();
    EXPECT_EQ(near->health, 0);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(shot_list.first, nullptr); // retired in the tick it hit
    EXPECT_EQ(checked_length(particle_list), 10);

    clear_targets();
    live_targets = 0;
    for (const Vec3& offset : {Vec3{16, 0, 0}, Vec3{0, -16, 0}, Vec3{0, 0, 16}}) {
        Target* far = add_target(100 + offset.x, 100 + offset.y, -50 + offset.z);
        add_shot({100, 100, -50});
        update_shots();
        EXPECT_EQ(far->health, 1);
        clear_shots();
    }
    EXPECT_EQ(hits, 1);
}

TEST_F(ShotTest, OnlyTheOlderOfTwoTargetsInReachIsHit) {
    Target* older = add_target(105, 100, -50);
    Target* newer = add_target(100, 100, -50);
    add_shot({100, 100, -50});
    update_shots();
    EXPECT_EQ(older->health, 0);
    EXPECT_EQ(newer->health, 1);
    EXPECT_EQ(hits, 1);
}

TEST_F(ShotTest, TwoShotsOnOneTargetInOneTickBothScoreAndItGoesNextTick) {
    Target* target = add_target(100, 100, -50);
    add_shot({100, 100, -50});
    add_shot({102, 98, -48});
    shots_fired = 2;
    update_shots();
    EXPECT_EQ(target->health, -1);
    EXPECT_EQ(hits, 2);
    EXPECT_EQ(points, 50u + 100u); // the first hit scores at 50% accuracy
    EXPECT_EQ(live_targets, 1);
    update_targets();
    EXPECT_EQ(live_targets, 0);
    EXPECT_EQ(target_list.first, nullptr);
}

TEST_F(ShotTest, AHitExplodesAtTheTargetAndThrowsTheShotPastTheEnd) {
    add_target(60, 70, -80);
    add_shot({60, 70, -80});
    shots_fired = 1;
    update_shots();
    ASSERT_NE(particle_list.first, nullptr);
    EXPECT_EQ(particle_list.first->object.position.x, 60.0f);
    EXPECT_EQ(particle_list.first->object.position.z, -80.0f);
    EXPECT_EQ(fake::state().log, (std::vector<std::string>{"play -1 explode.wav"}));
}

TEST_F(ShotTest, AMissingGunSoundNeitherHangsNorStopsFiring) {
    sound_free_sample(sound_samples[gun_sound].handle);
    sound_samples[gun_sound].handle = nullptr; // as when gun.wav could not be loaded
    fake::state().log.clear();
    fire_shot();
    EXPECT_EQ(checked_length(shot_list), 1);
    EXPECT_EQ(fake::state().log, (std::vector<std::string>{"play -1 null"}));
}

TEST_F(ShotTest, ASoundThatNeverReportsPlayingHoldsFiringOnlyAFewMilliseconds) {
    fake::state().sound_reports_playing = false;
    fake::state().counter_step = 100; // the fake clock moves 0.1 ms per reading
    const int64_t before = fake::state().counter;
    fire_shot();
    const int64_t waited = fake::state().counter - before;
    EXPECT_GE(waited, 5000); // it did wait for the sound
    EXPECT_LE(waited, 6000); // but gave up after about 5 ms
    EXPECT_EQ(checked_length(shot_list), 1);
}

TEST_F(ShotTest, AFailedAllocationSaysSoAndMakesNoShot) {
    fail_nothrow_allocations = true;
    fire_shot();
    fail_nothrow_allocations = false;
    EXPECT_EQ(fake::state().message_boxes, (std::vector<std::string>{";alksdjf|;lsjf"}));
    EXPECT_EQ(shot_list.first, nullptr);
    EXPECT_EQ(shots_fired, 0);
}

} // namespace
