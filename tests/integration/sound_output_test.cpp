// The sound library on SDL2_mixer, mixing into SDL's disk audio driver: channels, volumes on
// the game's scale, a module that plays once and reports its end, and what reaches the output.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "audio/sound_library.h"

namespace {

const std::string data = ZARNOK_DATA_DIR;

// The loudest sample of gun.wav, full scale being 1.
float gun_peak() {
    SDL_AudioSpec wav{};
    uint8_t* bytes = nullptr;
    uint32_t length = 0;
    SDL_LoadWAV((data + "/gun.wav").c_str(), &wav, &bytes, &length);
    int32_t peak = 0;
    for (uint32_t i = 0; i + 1 < length; i += 2)
        peak = std::max(peak, std::abs(int32_t{*reinterpret_cast<int16_t*>(bytes + i)}));
    SDL_FreeWAV(bytes);
    return static_cast<float>(peak) / 32768.0f;
}

class SoundOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/zarnok-sound-XXXXXX";
        folder = mkdtemp(name);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        // A short rest per buffer: without it the mixer thread holds the audio lock nearly
        // all the time and the test's own calls into the mixer can wait for seconds.
        setenv("SDL_DISKAUDIODELAY", "2", 1);
        setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
    }
    void TearDown() override {
        sound_close();
        SDL_Quit();
        std::filesystem::remove_all(folder);
    }
    // The first `seconds` of samples (stereo floats) written after the first `from` bytes.
    std::vector<float> written_after(std::streamoff from, double seconds = 0.5) {
        const std::streamoff wanted = from + static_cast<std::streamoff>(seconds * 44100) * 8;
        for (uint32_t give_up = SDL_GetTicks() + 20000; written() < wanted;) {
            if (SDL_GetTicks() > give_up)
                return {};
            SDL_Delay(5);
        }
        std::ifstream in(folder + "/out.raw", std::ios::binary);
        in.seekg(from);
        std::vector<float> samples((wanted - from) / 4);
        in.read(reinterpret_cast<char*>(samples.data()), wanted - from);
        return samples;
    }
    float loudest_after(std::streamoff from) {
        const std::vector<float> samples = written_after(from);
        EXPECT_FALSE(samples.empty()) << "the mixer wrote nothing";
        float loudest = 0;
        for (float sample : samples)
            loudest = std::max(loudest, std::fabs(sample));
        return loudest;
    }
    std::streamoff written() { return std::filesystem::file_size(folder + "/out.raw"); }
    // Where the output stands once the buffers mixed before this call have reached the file:
    // one mixed at the old volume may still be on its way when the volume changes.
    std::streamoff settled() {
        written_after(written(), 0.1);
        return written();
    }
    std::string folder;
};

TEST_F(SoundOutputTest, ChannelsVolumesAndTheModule) {
    sound_init(44100, 64, 0);
    SoundSample* gun = sound_load_sample(-1, (data + "/gun.wav").c_str(), 0);
    ASSERT_NE(gun, nullptr);
    // game volume, then SDL_mixer's
    for (const auto& [game, mixer] : {std::pair{255, 128}, {128, 64}, {10, 5}, {0, 0}}) {
        sound_set_effects_volume(game);
        EXPECT_EQ(Mix_MasterVolume(-1), mixer) << game;
    }
    for (int i = 0; i < 64; ++i) // a channel each, playing, until all 64 are busy
        EXPECT_TRUE(sound_is_playing(sound_play(-1, gun))) << i;
    EXPECT_EQ(sound_play(-1, gun), -1);
    Mix_HaltChannel(-1);

    MusicModule* module = music_load((data + "/supera29.xm").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(music_is_finished(module)); // not before it was played
    music_play(module);
    music_set_volume(module, 0); // held still: the module player never quite falls silent
    EXPECT_EQ(Mix_PausedMusic(), 1);
    music_set_volume(module, 10);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 5);
    Mix_Music* same = Mix_LoadMUS((data + "/supera29.xm").c_str());
    Mix_SetMusicPosition(Mix_MusicDuration(same) - 0.5); // the last half second of it
    Mix_FreeMusic(same);
    for (uint32_t give_up = SDL_GetTicks() + 30000;
         !music_is_finished(module) && SDL_GetTicks() < give_up;)
        SDL_Delay(5);
    EXPECT_TRUE(music_is_finished(module));
    music_play(module); // and it starts again from the top
    EXPECT_FALSE(music_is_finished(module));
    music_stop(module);
    music_free(module);

    // What reaches the output follows the effects volume: a lone shot at the default volume
    // as loud as the sample makes it, eleven explosions at once held under full scale.
    sound_set_effects_volume(128);
    std::streamoff from = settled();
    sound_play(-1, gun);
    EXPECT_NEAR(loudest_after(from), 0.5f * gun_peak(), 0.01f);
    SoundSample* boom = sound_load_sample(-1, (data + "/explode.wav").c_str(), 0);
    from = settled();
    for (int i = 0; i < 11; ++i)
        sound_play(-1, boom);
    const std::vector<float> burst = written_after(from, 1.0);
    ASSERT_FALSE(burst.empty());
    EXPECT_EQ(std::count_if(burst.begin(), burst.end(), [](float s) { return std::fabs(s) >= 1; }),
              0);
    EXPECT_GT(*std::max_element(burst.begin(), burst.end()), 0.8f);
    sound_set_effects_volume(0);
    from = settled();
    sound_play(-1, gun);
    EXPECT_EQ(loudest_after(from), 0);
    sound_free_sample(gun);
    sound_free_sample(boom);
}

} // namespace
