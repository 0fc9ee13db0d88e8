// Sound building blocks shared by the sound effects and the music's instruments.
#pragma once

#include <cstdint>
#include <vector>

#include "rng.h"

constexpr double pi = 3.14159265358979323846;

using Samples = std::vector<float>;

// Uniform white noise in [-1, 1).
inline float white_noise(Rng& rng) {
    return static_cast<float>(next_unit(rng) * 2.0 - 1.0);
}

// A one-pole low-pass; its high-pass is the input minus the low-pass.
struct OnePole {
    double state;
};
double one_pole_lowpass(OnePole& filter, double input, double cutoff_hz, double rate);

// A state-variable filter (topology-preserving form): stable while the cutoff sweeps.
struct StateVariableFilter {
    double low_state;
    double band_state;
};
struct FilterOutputs {
    double low;
    double band;
    double high;
};
// resonance: 0.5 is gentle, 5 rings.
FilterOutputs filter_step(StateVariableFilter& filter, double input, double cutoff_hz,
                          double resonance, double rate);

// exp(-seconds / time_constant).
double decay(double seconds, double time_constant);

// Partial amplitude of a sawtooth through a two-pole low-pass: 1/h above the cutoff rolled off.
double saw_partial(int32_t harmonic, double frequency, double cutoff_hz);

// Scales so the largest magnitude equals peak (1 = full scale).
void normalise_peak(Samples& samples, double peak);
// Raised-cosine fade-in and fade-out, so a sound starts and stops without a click.
void apply_fades(Samples& samples, double rate, double fade_in_seconds, double fade_out_seconds);
// Soft saturation that keeps small signals linear.
float soft_clip(float x);
// Rounds [-1, 1] to 16 bits, clipping beyond full scale.
int16_t to_pcm16(float sample);
