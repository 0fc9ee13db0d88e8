// Sound building blocks shared by the sound effects and the music's instruments.
#include "synth.h"

#include <algorithm>
#include <cmath>

double one_pole_lowpass(OnePole& filter, double input, double cutoff_hz, double rate) {
    const double coefficient = 1.0 - std::exp(-2.0 * pi * cutoff_hz / rate);
    filter.state += coefficient * (input - filter.state);
    return filter.state;
}

FilterOutputs filter_step(StateVariableFilter& filter, double input, double cutoff_hz,
                          double resonance, double rate) {
    const double g = std::tan(pi * std::min(cutoff_hz, rate * 0.45) / rate);
    const double k = 1.0 / resonance;
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = input - filter.low_state;
    const double v1 = a1 * filter.band_state + a2 * v3;
    const double v2 = filter.low_state + a2 * filter.band_state + a3 * v3;
    filter.band_state = 2.0 * v1 - filter.band_state;
    filter.low_state = 2.0 * v2 - filter.low_state;
    return {v2, v1, input - k * v1 - v2};
}

double decay(double seconds, double time_constant) {
    return std::exp(-seconds / time_constant);
}

double saw_partial(int32_t harmonic, double frequency, double cutoff_hz) {
    const double ratio = harmonic * frequency / cutoff_hz;
    return 1.0 / (harmonic * std::sqrt(1.0 + ratio * ratio * ratio * ratio));
}

void normalise_peak(Samples& samples, double peak) {
    float largest = 0.0f;
    for (const float s : samples) {
        largest = std::max(largest, std::abs(s));
    }
    if (largest <= 0.0f) {
        return;
    }
    const float gain = static_cast<float>(peak) / largest;
    for (float& s : samples) {
        s *= gain;
    }
}

void apply_fades(Samples& samples, double rate, double fade_in_seconds, double fade_out_seconds) {
    const size_t fade_in = std::min(samples.size(), static_cast<size_t>(fade_in_seconds * rate));
    const size_t fade_out = std::min(samples.size(), static_cast<size_t>(fade_out_seconds * rate));
    for (size_t i = 0; i < fade_in; ++i) {
        samples[i] *= static_cast<float>(
            0.5 - 0.5 * std::cos(pi * static_cast<double>(i) / static_cast<double>(fade_in)));
    }
    for (size_t i = 0; i < fade_out; ++i) {
        const size_t index = samples.size() - 1 - i;
        samples[index] *= static_cast<float>(
            0.5 - 0.5 * std::cos(pi * static_cast<double>(i) / static_cast<double>(fade_out)));
    }
}

float soft_clip(float x) {
    return std::tanh(x);
}

int16_t to_pcm16(float sample) {
    const long value = std::lround(static_cast<double>(sample) * 32767.0);
    return static_cast<int16_t>(std::clamp(value, -32768L, 32767L));
}
