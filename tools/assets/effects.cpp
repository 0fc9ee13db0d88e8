// The game's three sound effects: shot, explosion and level-up jingle.
#include "effects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double rate = effect_rate;
constexpr double peak_level = 0.7079; // -3 dBFS

size_t sample_count(double seconds) {
    return static_cast<size_t>(seconds * rate);
}

void finish(Samples& samples, double fade_in_seconds, double fade_out_seconds) {
    normalise_peak(samples, peak_level);
    apply_fades(samples, rate, fade_in_seconds, fade_out_seconds);
    // The fades can only lower the peak; normalise again so every effect sits at the same level.
    normalise_peak(samples, peak_level);
}

} // namespace

Samples make_gun_sound() {
    Rng rng{0x47554E0000000001ull};
    Samples out(sample_count(0.2));
    StateVariableFilter crack{0, 0};
    double click_phase = 0.0;
    double thump_phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const FilterOutputs noise = filter_step(crack, white_noise(rng), 3200.0, 0.8, rate);
        const double burst = (noise.band + 0.5 * noise.high) * decay(t, 0.022);
        // The click falls from about 1.8 kHz to 250 Hz, which reads as "pew" rather than a tick.
        click_phase += (250.0 + 1550.0 * decay(t, 0.02)) / rate;
        const double click =
            soft_clip(static_cast<float>(2.5 * std::sin(2.0 * pi * click_phase))) * decay(t, 0.04);
        thump_phase += (90.0 + 80.0 * decay(t, 0.015)) / rate;
        const double thump = std::sin(2.0 * pi * thump_phase) * decay(t, 0.035);
        out[i] = static_cast<float>(1.2 * burst + 0.55 * click + 0.6 * thump);
    }
    finish(out, 0.0015, 0.03);
    return out;
}

Samples make_explosion_sound() {
    Rng rng{0x424F4F4D00000001ull};
    Samples out(sample_count(1.4));
    StateVariableFilter body{0, 0};
    OnePole rumble_filter{0};
    OnePole rumble_shape{0};
    double brown = 0.0;
    double boom_phase = 0.0;
    double flicker = 1.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double noise = white_noise(rng);
        // The body's cutoff closes from bright to dull as the blast spreads out.
        const double cutoff = 160.0 + 3000.0 * decay(t, 0.11);
        const double roar = filter_step(body, noise, cutoff, 0.9, rate).low * decay(t, 0.32);
        // Brown noise, slowly wobbling in level, gives the rolling rumble underneath.
        brown = 0.997 * brown + 0.03 * white_noise(rng);
        if (i % 2205 == 0) {
            flicker = next_range(rng, 0.6, 1.0);
        }
        const double wobble = one_pole_lowpass(rumble_shape, flicker, 6.0, rate);
        const double rumble =
            one_pole_lowpass(rumble_filter, brown, 110.0, rate) * wobble * decay(t, 0.5);
        boom_phase += (34.0 + 50.0 * decay(t, 0.09)) / rate;
        const double boom = std::sin(2.0 * pi * boom_phase) * decay(t, 0.28);
        const double crack = noise * decay(t, 0.012);
        out[i] =
            soft_clip(static_cast<float>(1.4 * roar + 3.0 * rumble + 0.8 * boom + 0.5 * crack));
    }
    finish(out, 0.003, 0.15);
    return out;
}

namespace {

// One bell-like note of the jingle: a few harmonics, the upper ones fading first.
double jingle_note(double t, double frequency, double length) {
    if (t < 0.0) {
        return 0.0;
    }
    const double partials[] = {1.0, 0.45, 0.3, 0.16, 0.1, 0.06};
    // A gentle vibrato joins in once the note has sounded for a moment.
    const double vibrato = 0.004 * std::min(t / 0.15, 1.0) * std::sin(2.0 * pi * 5.5 * t);
    double sum = 0.0;
    for (int32_t h = 1; h <= 6; ++h) {
        const double phase = 2.0 * pi * frequency * h * (t + vibrato / (2.0 * pi * 5.5));
        sum += partials[h - 1] * std::sin(phase) * decay(t, 0.5 / h);
        // A second, slightly sharp voice makes it shimmer.
        sum += 0.3 * partials[h - 1] * std::sin(phase * 1.003) * decay(t, 0.5 / h);
    }
    const double attack = std::min(t / 0.004, 1.0);
    const double release = t < length ? 1.0 : decay(t - length, 0.04);
    return sum * attack * release * decay(t, 0.35);
}

} // namespace

Samples make_level_up_sound() {
    // C major, rising: C5 E5 G5 then C6, which rings out.
    const double notes[] = {523.25, 659.26, 783.99, 1046.50};
    const double step = 0.085;
    Samples dry(sample_count(0.9));
    for (size_t i = 0; i < dry.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double sum = 0.0;
        for (int32_t n = 0; n < 4; ++n) {
            const double length = n == 3 ? 1.0 : step * 1.2;
            sum += jingle_note(t - n * step, notes[n], length) * (n == 3 ? 1.1 : 0.8);
        }
        dry[i] = static_cast<float>(sum);
    }
    // A short echo adds room around the notes.
    Samples out = dry;
    const size_t delay = sample_count(0.11);
    for (size_t i = delay; i < out.size(); ++i) {
        out[i] += 0.3f * out[i - delay];
    }
    finish(out, 0.002, 0.08);
    return out;
}
