// A linear congruential generator, yielding bits 16 to 30 of each new state.
#include "world/random.h"

uint32_t random_state;

void seed_random(uint32_t seed) {
    random_state = seed;
}

int32_t next_random() {
    random_state = random_state * 1103515245u + 12345u;
    return static_cast<int32_t>((random_state >> 16) & 0x7FFF);
}
