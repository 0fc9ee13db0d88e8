// Smooth lattice noise for clouds, nebulae and terrain.
#include "noise.h"

#include <cmath>

#include "rng.h"

namespace {

float lattice_value(int32_t x, int32_t y, uint32_t seed) {
    const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) ^
                         static_cast<uint32_t>(y) ^ (static_cast<uint64_t>(seed) << 17);
    return static_cast<float>(mix_bits(key + 0x2545F4914F6CDD1Dull) >> 40) * 0x1.0p-24f;
}

float smooth(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

float value_noise(float x, float y, uint32_t seed) {
    const float x_floor = std::floor(x);
    const float y_floor = std::floor(y);
    const int32_t ix = static_cast<int32_t>(x_floor);
    const int32_t iy = static_cast<int32_t>(y_floor);
    const float tx = smooth(x - x_floor);
    const float ty = smooth(y - y_floor);
    const float top = lattice_value(ix, iy, seed) +
                      (lattice_value(ix + 1, iy, seed) - lattice_value(ix, iy, seed)) * tx;
    const float bottom =
        lattice_value(ix, iy + 1, seed) +
        (lattice_value(ix + 1, iy + 1, seed) - lattice_value(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float fractal_noise(float x, float y, int32_t octaves, uint32_t seed) {
    float sum = 0.0f;
    float weight = 1.0f;
    float total_weight = 0.0f;
    for (int32_t octave = 0; octave < octaves; ++octave) {
        sum += weight * value_noise(x, y, seed + static_cast<uint32_t>(octave) * 7919u);
        total_weight += weight;
        weight *= 0.5f;
        // The offset keeps the lattices of successive octaves from lining up.
        x = x * 2.0f + 17.3f;
        y = y * 2.0f + 5.9f;
    }
    return sum / total_weight;
}
