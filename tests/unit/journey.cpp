// The journey's turns, keys and aim.
#include "tests/unit/journey.h"

void play_until_level(Journey& j, int32_t goal) {
    for (int i = 0; i < 20000 && level < goal && !game_over; ++i)
        if (shot_list.first != nullptr || !j.fire_at_lowest())
            j.pass();
}

void fire_until_hits(Journey& j, int32_t wanted) {
    for (int i = 0; i < 3000 && hits < wanted && !game_over; ++i)
        if (shot_list.first != nullptr || !j.fire_at_lowest())
            j.pass();
}

void play_until_over(Journey& j) {
    for (int i = 0; i < 5000 && !game_over; ++i)
        j.pass(2 * one_tick);
}
