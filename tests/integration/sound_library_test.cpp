// The sound library on SDL2_mixer, with SDL's disk audio driver standing in for a sound card.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "audio/sound_library.h"

namespace {

// A mono 16-bit sine WAV of the given length.
void write_tone(const std::string& path, double seconds) {
    const uint32_t rate = 44100;
    const auto frames = static_cast<uint32_t>(rate * seconds);
    std::vector<int16_t> samples(frames);
    for (uint32_t i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(12000 * std::sin(2 * 3.14159265 * 440 * i / rate));
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + frames * 2);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(frames * 2);
    out.write(reinterpret_cast<const char*>(samples.data()), frames * 2);
}

class SoundLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory =
            std::filesystem::temp_directory_path() / ("zarnok-sound-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        // Mixed at the pace of a real device unless a test needs it faster.
        unsetenv("SDL_DISKAUDIODELAY");
        setenv("SDL_DISKAUDIOFILE", (directory / "out.raw").c_str(), 1);
        tone = (directory / "tone.wav").string();
        write_tone(tone, 2.0);
    }
    void TearDown() override {
        sound_close();
        SDL_Quit();
        std::filesystem::remove_all(directory);
    }
    std::filesystem::path directory;
    std::string tone;
};

TEST_F(SoundLibraryTest, WithoutAnOutputEverythingIsSilentAndHarmless) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    sound_init(44100, 64, 0);
    SoundSample* sample = sound_load_sample(-1, tone.c_str(), 0);
    MusicModule* module = music_load(ZARNOK_MODULE_PATH);
    EXPECT_EQ(sample, nullptr);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(sound_play(-1, sample), -1);
    EXPECT_FALSE(sound_is_playing(-1));
    sound_set_effects_volume(200);
    music_play(module);
    music_set_volume(module, 10);
    EXPECT_FALSE(music_is_finished(module));
    music_stop(module);
    music_free(module);
    sound_free_sample(sample);
}

TEST_F(SoundLibraryTest, MissingFilesGiveNullHandles) {
    sound_init(44100, 64, 0);
    EXPECT_EQ(sound_load_sample(-1, (directory / "none.wav").c_str(), 0), nullptr);
    EXPECT_EQ(music_load((directory / "none.xm").c_str()), nullptr);
}

TEST_F(SoundLibraryTest, EffectsTakeFreeChannelsUpToSixtyFour) {
    sound_init(44100, 64, 0);
    SoundSample* sample = sound_load_sample(-1, tone.c_str(), 0);
    ASSERT_NE(sample, nullptr);
    std::vector<bool> used(64, false);
    for (int i = 0; i < 64; ++i) {
        const int32_t channel = sound_play(-1, sample);
        ASSERT_GE(channel, 0);
        ASSERT_LT(channel, 64);
        EXPECT_FALSE(used[channel]);
        used[channel] = true;
        EXPECT_TRUE(sound_is_playing(channel));
    }
    EXPECT_EQ(sound_play(-1, sample), -1); // all 64 busy
    sound_free_sample(sample);
}

TEST_F(SoundLibraryTest, VolumesMapFromTheGameScale) {
    sound_init(44100, 64, 0);
    MusicModule* module = music_load(ZARNOK_MODULE_PATH);
    ASSERT_NE(module, nullptr);
    sound_set_effects_volume(255);
    EXPECT_EQ(Mix_MasterVolume(-1), 128);
    sound_set_effects_volume(128);
    EXPECT_EQ(Mix_MasterVolume(-1), 64);
    sound_set_effects_volume(0);
    EXPECT_EQ(Mix_MasterVolume(-1), 0);
    music_set_volume(module, 255);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    music_set_volume(module, 10);
    EXPECT_EQ(Mix_VolumeMusic(-1), 5);
    music_free(module);
}

TEST_F(SoundLibraryTest, AModulePlayedOnceReportsItsEnd) {
    setenv("SDL_DISKAUDIODELAY", "0", 1); // the whole module in about a second
    sound_init(44100, 64, 0);
    MusicModule* module = music_load(ZARNOK_MODULE_PATH);
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(music_is_finished(module)); // not before it was played
    music_play(module);
    EXPECT_FALSE(music_is_finished(module));
    const uint32_t give_up = SDL_GetTicks() + 20000;
    while (!music_is_finished(module) && SDL_GetTicks() < give_up)
        SDL_Delay(5);
    EXPECT_TRUE(music_is_finished(module));
    music_play(module); // and it starts again from the top
    EXPECT_FALSE(music_is_finished(module));
    music_stop(module);
    music_free(module);
}

} // namespace
