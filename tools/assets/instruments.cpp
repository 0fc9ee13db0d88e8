// The music's synthesized instruments: drums from noise and sweeps, tones from sums of partials.
#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "synth.h"

namespace {

constexpr double rate = instrument_rate;
// The pitch a sample's 128-sample cycle has at its own rate: C-4.
constexpr double base_frequency = rate / cycle_length;

size_t sample_count(double seconds) {
    return static_cast<size_t>(seconds * rate);
}

XmSample make_sample(const char* name, Samples samples, int32_t loop_start, int32_t loop_length,
                     uint8_t volume, uint8_t panning) {
    // Headroom for the tracker's interpolation overshooting the peaks.
    normalise_peak(samples, 0.95);
    XmSample sample{name, {}, loop_start, loop_length, volume, 0, panning, 24};
    sample.data.reserve(samples.size());
    for (const float s : samples) {
        sample.data.push_back(to_pcm16(s));
    }
    return sample;
}

XmInstrument make_instrument(const char* name, XmSample sample) {
    return XmInstrument{name, std::move(sample), XmEnvelope{{}, -1}, 0, 0, 0, 0, 0};
}

// Metallic noise for cymbals: six detuned square waves mixed with white noise, high-passed.
Samples make_hat_sound(double seconds, double time_constant, uint64_t seed) {
    Rng rng{seed};
    const double square_frequencies[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Samples out(sample_count(seconds));
    StateVariableFilter filter{0, 0};
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double metal = 0.0;
        for (const double f : square_frequencies) {
            metal += std::sin(2.0 * pi * 2.0 * f * t) > 0.0 ? 1.0 : -1.0;
        }
        const double source = 0.12 * metal + white_noise(rng);
        const FilterOutputs bands = filter_step(filter, source, 7500.0, 1.2, rate);
        out[i] = static_cast<float>((bands.high + 0.5 * bands.band) * decay(t, time_constant));
    }
    apply_fades(out, rate, 0.0005, 0.01);
    return out;
}

} // namespace

XmInstrument make_kick() {
    Rng rng{0x4B49434B00000001ull};
    Samples out(sample_count(0.45));
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += (46.0 + 130.0 * decay(t, 0.03)) / rate;
        const double body = std::sin(2.0 * pi * phase) * decay(t, 0.2);
        const double click = white_noise(rng) * decay(t, 0.002);
        out[i] = soft_clip(static_cast<float>(1.8 * body + 0.35 * click));
    }
    apply_fades(out, rate, 0.0005, 0.03);
    return make_instrument("kick", make_sample("kick", out, 0, 0, 64, 128));
}

XmInstrument make_snare() {
    Rng rng{0x534E415200000001ull};
    Samples out(sample_count(0.35));
    StateVariableFilter filter{0, 0};
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double tone =
            (std::sin(2.0 * pi * 185.0 * t) + 0.6 * std::sin(2.0 * pi * 330.0 * t)) *
            decay(t, 0.04);
        const FilterOutputs noise = filter_step(filter, white_noise(rng), 2600.0, 0.7, rate);
        const double rattle = (noise.band + 0.6 * noise.high) * decay(t, 0.1);
        out[i] = soft_clip(static_cast<float>(0.7 * tone + 1.3 * rattle));
    }
    apply_fades(out, rate, 0.0005, 0.03);
    return make_instrument("snare", make_sample("snare", out, 0, 0, 56, 128));
}

XmInstrument make_closed_hat() {
    return make_instrument(
        "closed hat", make_sample("closed hat", make_hat_sound(0.09, 0.018, 0x4841543100000001ull),
                                  0, 0, 40, 150));
}

XmInstrument make_open_hat() {
    return make_instrument(
        "open hat",
        make_sample("open hat", make_hat_sound(0.45, 0.13, 0x4841543200000001ull), 0, 0, 32, 150));
}

XmInstrument make_bass() {
    // The filter sweep lasts a whole number of cycles; after it the tone is exactly periodic, so
    // a loop of its last cycles repeats without a seam.
    const int32_t sweep_cycles = 64;
    const int32_t loop_cycles = 8;
    const int32_t length = (sweep_cycles + loop_cycles) * cycle_length;
    const double sweep_seconds = static_cast<double>(sweep_cycles * cycle_length) / rate;
    const int32_t partials = static_cast<int32_t>(14000.0 / base_frequency);
    Samples out(static_cast<size_t>(length));
    for (int32_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double progress = std::min(t / sweep_seconds, 1.0);
        // Closes fast at first, reaching its resting value exactly at the end of the sweep.
        const double opening =
            (decay(progress, 0.15) - decay(1.0, 0.15)) / (1.0 - decay(1.0, 0.15));
        const double cutoff = 700.0 + 5000.0 * opening;
        double sum = 0.0;
        for (int32_t h = 1; h <= partials; ++h) {
            const double frequency = h * base_frequency;
            const double square = (h % 2 == 1) ? 0.6 / h : 0.0;
            const double resonance =
                1.0 + 1.8 * std::exp(-std::pow((frequency - cutoff) / (0.3 * cutoff), 2.0));
            const double amplitude = (saw_partial(h, base_frequency, cutoff) +
                                      square * saw_partial(1, frequency, cutoff)) *
                                     resonance;
            sum += amplitude * std::sin(2.0 * pi * h * i / cycle_length);
        }
        sum += 0.5 * std::sin(2.0 * pi * i / cycle_length); // weight under the bright partials
        out[static_cast<size_t>(i)] = static_cast<float>(sum);
    }
    apply_fades(out, rate, 0.0005, 0.0);
    XmInstrument bass =
        make_instrument("bass", make_sample("bass", out, sweep_cycles * cycle_length,
                                            loop_cycles * cycle_length, 56, 128));
    bass.volume_envelope = XmEnvelope{{{0, 64}, {4, 58}, {24, 46}}, 1};
    bass.fadeout = 4000;
    return bass;
}

namespace {

// A looped tone of several oscillators. Each oscillator makes a whole number of cycles over the
// loop, so the loop is seamless while the oscillators beat against each other.
struct Oscillator {
    int32_t cycles_over_loop;
    double level;
};

Samples make_detuned_loop(int32_t loop_cycles, const std::vector<Oscillator>& oscillators,
                          double cutoff, double square_share, double highest_partial_hz,
                          uint64_t seed) {
    Rng rng{seed};
    const int32_t length = loop_cycles * cycle_length;
    const int32_t partials = static_cast<int32_t>(highest_partial_hz / base_frequency);
    Samples out(static_cast<size_t>(length), 0.0f);
    std::vector<double> sum(static_cast<size_t>(length), 0.0);
    for (const Oscillator& oscillator : oscillators) {
        const double step = 2.0 * pi * oscillator.cycles_over_loop / length;
        for (int32_t h = 1; h <= partials; ++h) {
            double amplitude = saw_partial(h, base_frequency, cutoff);
            if (h % 2 == 0) {
                amplitude *= 1.0 - square_share; // a square wave has odd partials only
            }
            amplitude *= oscillator.level;
            // Random starting phases keep the oscillators from lining up into a spike.
            const double phase = next_unit(rng) * 2.0 * pi;
            for (int32_t i = 0; i < length; ++i) {
                sum[static_cast<size_t>(i)] += amplitude * std::sin(step * h * i + phase);
            }
        }
    }
    for (int32_t i = 0; i < length; ++i) {
        out[static_cast<size_t>(i)] = static_cast<float>(sum[static_cast<size_t>(i)]);
    }
    return out;
}

} // namespace

XmInstrument make_lead() {
    // 256 cycles against 257: the second voice is 7 cents sharp and beats about once a second.
    const int32_t loop_cycles = 256;
    const Samples out = make_detuned_loop(loop_cycles, {{loop_cycles, 1.0}, {loop_cycles + 1, 0.7}},
                                          2200.0, 0.5, 4800.0, 0x4C45414400000001ull);
    XmInstrument lead =
        make_instrument("lead", make_sample("lead", out, 0, loop_cycles * cycle_length, 48, 128));
    lead.volume_envelope = XmEnvelope{{{0, 0}, {2, 64}, {14, 50}, {60, 44}}, 2};
    lead.fadeout = 1200;
    lead.vibrato_type = 0; // sine
    lead.vibrato_sweep = 24;
    lead.vibrato_depth = 3;
    lead.vibrato_rate = 20;
    return lead;
}

XmInstrument make_pad() {
    const int32_t loop_cycles = 128;
    Samples out = make_detuned_loop(
        loop_cycles, {{loop_cycles - 1, 0.8}, {loop_cycles, 1.0}, {loop_cycles + 1, 0.8}}, 1300.0,
        0.0, 6000.0, 0x5041440000000001ull);
    XmInstrument pad =
        make_instrument("pad", make_sample("pad", out, 0, loop_cycles * cycle_length, 40, 128));
    pad.volume_envelope = XmEnvelope{{{0, 0}, {12, 64}, {60, 52}}, 2};
    pad.fadeout = 500;
    return pad;
}

XmInstrument make_pluck() {
    Samples out(sample_count(0.5));
    const int32_t partials = static_cast<int32_t>(6500.0 / base_frequency);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double sum = 0.0;
        for (int32_t h = 1; h <= partials; ++h) {
            // Upper partials die first, as on a plucked string.
            sum += saw_partial(h, base_frequency, 3000.0) * decay(t, 0.35 / (1.0 + 0.6 * h)) *
                   std::sin(2.0 * pi * h * static_cast<double>(i) / cycle_length);
        }
        out[i] = static_cast<float>(sum);
    }
    apply_fades(out, rate, 0.0005, 0.05);
    return make_instrument("pluck", make_sample("pluck", out, 0, 0, 40, 96));
}
