// The one random generator that the gameplay, the aim line and the overlay all draw from.
#pragma once

#include <cstdint>

extern uint32_t random_state;

void seed_random(uint32_t seed);
// A value from 0 to 32767.
int32_t next_random();
