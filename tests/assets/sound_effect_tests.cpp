// The three sound effects: well-formed 16-bit 44.1 kHz WAVs that SDL_mixer loads, of the right
// length and level, starting and ending without a click, and shaped like what they stand for.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "asset_files.h"

namespace {

struct Wave {
    uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<float> samples; // first channel, in [-1, 1]
};

// Walks the RIFF chunks rather than assuming a fixed 44-byte header.
Wave read_wave(const std::string& name) {
    Wave wave;
    const std::vector<uint8_t> bytes = read_bytes(data_path(name));
    if (read_text(bytes, 0, 4) != "RIFF" || read_text(bytes, 8, 4) != "WAVE")
        return wave;
    for (size_t offset = 12; offset + 8 <= bytes.size();) {
        const std::string id = read_text(bytes, offset, 4);
        const size_t size = read_u32(bytes, offset + 4);
        const size_t body = offset + 8;
        if (id == "fmt ") {
            wave = {read_u16(bytes, body),
                    read_u16(bytes, body + 2),
                    read_u32(bytes, body + 4),
                    read_u16(bytes, body + 14),
                    {}};
        } else if (id == "data" && wave.bits == 16 && wave.channels > 0) {
            const size_t frame = 2 * wave.channels;
            for (size_t at = body; at + frame <= std::min(body + size, bytes.size()); at += frame)
                wave.samples.push_back(static_cast<int16_t>(read_u16(bytes, at)) / 32768.0f);
        }
        offset = body + size + (size & 1);
    }
    return wave;
}

size_t at_seconds(double seconds) {
    return static_cast<size_t>(seconds * 44100.0);
}

float peak(const std::vector<float>& samples, size_t begin, size_t end) {
    float largest = 0.0f;
    for (size_t i = begin; i < end && i < samples.size(); ++i)
        largest = std::max(largest, std::abs(samples[i]));
    return largest;
}

float rms(const std::vector<float>& samples, size_t begin, size_t end) {
    double sum = 0.0;
    end = std::min(end, samples.size());
    for (size_t i = begin; i < end; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return end > begin ? static_cast<float>(std::sqrt(sum / static_cast<double>(end - begin)))
                       : 0.0f;
}

// Zero crossings a second: a rough measure of the pitch or brightness of a stretch of sound.
float crossing_rate(const std::vector<float>& samples, size_t begin, size_t end) {
    size_t crossings = 0;
    for (size_t i = begin + 1; i < end && i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0.0f) != (samples[i] < 0.0f);
    return static_cast<float>(crossings) * 44100.0f / static_cast<float>(end - begin);
}

struct EffectCase {
    const char* name;
    double shortest, longest; // seconds
};

const EffectCase effects[] = {
    {"gun.wav", 0.12, 0.25}, {"explode.wav", 1.0, 1.6}, {"yeah.wav", 0.6, 1.0}};

TEST(SoundEffects, AreSixteenBitPcmAt44100OfTheirLengthAndLevelAndFadeInAndOut) {
    for (const EffectCase& effect : effects) {
        SCOPED_TRACE(effect.name);
        const Wave wave = read_wave(effect.name);
        EXPECT_EQ(wave.format, 1u);
        EXPECT_TRUE(wave.channels == 1 || wave.channels == 2);
        EXPECT_EQ(wave.rate, 44100u);
        EXPECT_EQ(wave.bits, 16u);
        const size_t length = wave.samples.size();
        EXPECT_GE(length / 44100.0, effect.shortest);
        EXPECT_LE(length / 44100.0, effect.longest);
        ASSERT_GT(length, at_seconds(0.1));
        const float top = peak(wave.samples, 0, length);
        // About -3 dBFS: between -6 and -1 dB, and well above silence on average.
        EXPECT_GT(top, 0.5f);
        EXPECT_LT(top, 0.9f);
        EXPECT_GT(rms(wave.samples, 0, length), 0.03f);
        // No click at either end.
        EXPECT_LT(std::abs(wave.samples.front()), 0.01f);
        EXPECT_LT(std::abs(wave.samples.back()), 0.01f);
        EXPECT_LT(peak(wave.samples, 0, at_seconds(0.0005)), 0.5f * top) << "clicks on";
        EXPECT_LT(peak(wave.samples, length - at_seconds(0.005), length), 0.05f * top)
            << "clicks off";
    }
}

TEST(SoundEffects, LoadInTheMixer) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    for (const EffectCase& effect : effects) {
        SCOPED_TRACE(effect.name);
        Mix_Chunk* chunk = Mix_LoadWAV(data_path(effect.name).c_str());
        EXPECT_NE(chunk, nullptr) << Mix_GetError();
        if (chunk != nullptr) {
            // Converted to the output: 16-bit stereo, four bytes a frame.
            EXPECT_GE(chunk->alen / (4.0 * 44100.0), effect.shortest);
            EXPECT_LE(chunk->alen / (4.0 * 44100.0), effect.longest);
            Mix_FreeChunk(chunk);
        }
    }
    Mix_CloseAudio();
    SDL_Quit();
}

TEST(SoundEffectCharacter, ShotAndExplosionDieAway) {
    const Wave gun = read_wave("gun.wav");
    const Wave boom = read_wave("explode.wav");
    ASSERT_GT(gun.samples.size(), at_seconds(0.12));
    ASSERT_GT(boom.samples.size(), at_seconds(1.0));
    // The shot is sharp: most of its energy is in the first 40 ms.
    EXPECT_LT(rms(gun.samples, at_seconds(0.08), gun.samples.size()),
              0.25f * rms(gun.samples, 0, at_seconds(0.04)));
    // The explosion decays, and what is left is a low rumble.
    const size_t quarter = boom.samples.size() / 4;
    EXPECT_LT(rms(boom.samples, 3 * quarter, 4 * quarter), 0.3f * rms(boom.samples, 0, quarter));
    EXPECT_LT(crossing_rate(boom.samples, 2 * quarter, 3 * quarter),
              0.5f * crossing_rate(boom.samples, 0, at_seconds(0.05)));
    EXPECT_LT(crossing_rate(boom.samples, 2 * quarter, 3 * quarter), 600.0f);
}

TEST(SoundEffectCharacter, JingleRises) {
    const Wave yeah = read_wave("yeah.wav");
    ASSERT_GT(yeah.samples.size(), at_seconds(0.6));
    // The first note against the held top note, an octave and more apart.
    const float first = crossing_rate(yeah.samples, at_seconds(0.01), at_seconds(0.07));
    const float last = crossing_rate(yeah.samples, at_seconds(0.4), at_seconds(0.6));
    EXPECT_GT(last, 1.5f * first);
    // It rings: still sounding well after the last note starts.
    EXPECT_GT(rms(yeah.samples, at_seconds(0.45), at_seconds(0.55)),
              0.1f * rms(yeah.samples, 0, at_seconds(0.3)));
}

} // namespace
