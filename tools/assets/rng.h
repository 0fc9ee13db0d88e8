// Seeded integer random numbers, so every asset comes out byte-for-byte the same on every run.
#pragma once

#include <cstdint>

struct Rng {
    uint64_t state;
};

// The splitmix64 finaliser: scrambles any 64-bit value into a well-mixed one.
inline uint64_t mix_bits(uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

inline uint64_t next_u64(Rng& rng) {
    rng.state += 0x9E3779B97F4A7C15ull;
    return mix_bits(rng.state);
}

// Uniform in [0, 1), from the top 53 bits.
inline double next_unit(Rng& rng) {
    return static_cast<double>(next_u64(rng) >> 11) * 0x1.0p-53;
}

inline double next_range(Rng& rng, double low, double high) {
    return low + (high - low) * next_unit(rng);
}

// Uniform in [0, count).
inline int32_t next_below(Rng& rng, int32_t count) {
    return static_cast<int32_t>(next_u64(rng) % static_cast<uint64_t>(count));
}
