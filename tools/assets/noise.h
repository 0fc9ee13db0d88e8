// Smooth lattice noise for clouds, nebulae and terrain.
#pragma once

#include <cstdint>

// Smoothly interpolated random values on an integer lattice, in [0, 1].
float value_noise(float x, float y, uint32_t seed);
// Octaves of value noise, each twice as fine and half as strong; in [0, 1].
float fractal_noise(float x, float y, int32_t octaves, uint32_t seed);
