// Explosions: what the generator decides for each particle, and how particles age and go.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/random.h"
#include "app/state.h"
#include "game/entities.h"
#include "game/particles.h"
#include "game/targets.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class ParticleTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        fake::state().log.clear();
    }
};

TEST_F(ParticleTest, TenParticlesOneSoundAndBoundedSpeeds) {
    seed_random(5);
    explode(10, 20, -30, 10);
    EXPECT_EQ(checked_length(particle_list), 10);
    EXPECT_EQ(fake::state().log, (std::vector<std::string>{"play -1 explode.wav"}));
    for (const Particle* p = particle_list.first; p != nullptr; p = p->next) {
        const Object3D& o = p->object;
        for (float v : {o.velocity.x, o.velocity.y, o.velocity.z})
            EXPECT_LE(std::abs(v), 9.0f / 60.0f + 1e-6f);
        const int32_t full = (o.red == 355) + (o.green == 355) + (o.blue == 355);
        EXPECT_GE(full, 1);
        for (int32_t c : {o.red, o.green, o.blue}) {
            EXPECT_GE(c, 100);
            EXPECT_LE(c, 355);
        }
        EXPECT_EQ(p->life, 255);
        EXPECT_EQ(o.position.x, 10.0f);
    }
}

TEST_F(ParticleTest, EachParticleTakesItsValuesInTheGamesOrder) {
    const uint32_t seed = 31337;
    seed_random(seed);
    explode(0, 0, -10, 7);
    seed_random(seed);
    for (const Particle* p = particle_list.first; p != nullptr; p = p->next) {
        int32_t colour[3];
        const int32_t full = next_random() % 3;
        colour[full] = 255;
        for (int c = 2; c >= 0; --c)
            if (c != full)
                colour[c] = next_random() % 256;
        const float vz = static_cast<float>(next_random() % 7) * 0.016666668f;
        const float vy = static_cast<float>(next_random() % 7) * 0.016666668f;
        const float vx = static_cast<float>(next_random() % 7) * 0.016666668f;
        const float hz = static_cast<float>(next_random() % 3 + 1);
        const float hy = static_cast<float>(next_random() % 3 + 1);
        const float hx = static_cast<float>(next_random() % 3 + 1);
        const float sx = next_random() % 2 == 0 ? -1.0f : 1.0f;
        const float sy = next_random() % 2 == 0 ? -1.0f : 1.0f;
        const float sz = next_random() % 2 == 0 ? -1.0f : 1.0f;
        const Object3D& o = p->object;
        EXPECT_EQ(o.red, colour[0] + 100);
        EXPECT_EQ(o.green, colour[1] + 100);
        EXPECT_EQ(o.blue, colour[2] + 100);
        EXPECT_EQ(o.velocity.x, sx * vx);
        EXPECT_EQ(o.velocity.y, sy * vy);
        EXPECT_EQ(o.velocity.z, sz * vz);
        EXPECT_EQ(o.model_faces[3].centre.x, hx); // the +x face sits at the x half-extent
        EXPECT_EQ(o.model_faces[4].centre.y, hy);
        EXPECT_EQ(o.model_faces[1].centre.z, hz);
    }
}

TEST_F(ParticleTest, AParticleLivesFor255UpdatesAndFadesAllTheWay) {
    Particle* p = spawn_particle(0, 0, -100, 0, 0, 0, 1, 1, 1, 300, 200, 100, 255);
    for (int tick = 1; tick <= 255; ++tick)
        update_particles();
    ASSERT_EQ(particle_list.first, p);
    EXPECT_EQ(p->life, 0);
    EXPECT_EQ(p->object.red, 300 - 255);
    EXPECT_EQ(p->object.blue, 100 - 255);
    update_particles();
    EXPECT_EQ(particle_list.first, nullptr);
}

TEST_F(ParticleTest, ParticlesDriftDownEvenWithoutSpeed) {
    Particle* p = spawn_particle(5, 5, -100, 0, 0, 0, 1, 1, 1, 0, 0, 0, 255);
    update_particles();
    update_particles();
    EXPECT_FLOAT_EQ(p->object.position.y, 5.0f + 2 * 0.35f);
    EXPECT_FLOAT_EQ(p->object.position.x, 5.0f);
    EXPECT_FLOAT_EQ(p->object.velocity.y, 0.0f); // the drift is not a speed
}

TEST_F(ParticleTest, AParticleThatComesForwardPastZeroGoesBeforeMovingAgain) {
    Particle* p = spawn_particle(0, 0, -0.5f, 0, 0, 1.0f, 1, 1, 1, 0, 0, 0, 255);
    spawn_particle(0, 0, -100, 0, 0, 0, 1, 1, 1, 0, 0, 0, 255);
    update_particles();
    EXPECT_FLOAT_EQ(p->object.position.z, 0.5f);
    update_particles();
    EXPECT_EQ(checked_length(particle_list), 1);
    EXPECT_NE(particle_list.first, p);
}

TEST_F(ParticleTest, ParticlesMadeInATickAgeInThatTick) {
    add_target(200, 540.5f, -50);
    update_targets();
    update_particles();
    EXPECT_EQ(particle_list.first->life, 254);
}

} // namespace
