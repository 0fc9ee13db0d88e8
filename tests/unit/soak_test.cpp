// A long seeded game with a steady player: the lists stay consistent through every tick, the
// levels rise, and nothing leaks (the sanitizer build checks that at exit).
#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/new_game.h"
#include "app/random.h"
#include "app/state.h"
#include "game/entities.h"
#include "game/shots.h"
#include "render/compose_frame.h"
#include "tests/support/steady_player.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class SoakTest : public GameTest {};

TEST_F(SoakTest, TwoHundredThousandTicksOfSteadyPlay) {
    start_game();
    seed_random(20261207);
    int32_t highest_level = 0, games = 1, shots = 0;
    for (int32_t tick = 1; tick <= 200000; ++tick) {
        if (tick % 6 == 0 && !game_over) {
            const Target* target = lowest_target();
            if (target != nullptr && aim_at(*target)) {
                fire_shot();
                ++shots;
            }
        }
        fake::state().counter += 10001; // one tick due per pass
        run_ticks();
        if (tick % 1000 == 0)
            build_main_frame(); // now and then a frame of whatever is flying
        ASSERT_EQ(checked_length(target_list), live_targets) << "tick " << tick;
        checked_length(shot_list);
        checked_length(particle_list);
        highest_level = std::max(highest_level, level);
        if (game_over && tick % 500 == 0) {
            new_game();
            ++games;
        }
    }
    EXPECT_GE(highest_level, 5);
    EXPECT_GT(shots, 1000);
    std::printf("soak: %d games, %d shots, highest level %d, %u points in the last game\n", games,
                shots, highest_level, points);
}

} // namespace
