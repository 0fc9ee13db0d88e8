// The music module as players see it: libxmp and SDL_mixer load it, agree on its length, play it
// to the end without looping back, and every channel is heard.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "asset_files.h"

namespace {

// A loaded module in a libxmp context; context is null when loading failed.
struct LoadedModule {
    xmp_context context = nullptr;
    int32_t channels = 0;
    int32_t song_length = 0;
};

LoadedModule load_with_xmp() {
    const std::vector<uint8_t> bytes = read_bytes(data_path("supera29.xm"));
    LoadedModule module;
    module.context = xmp_create_context();
    if (xmp_load_module_from_memory(module.context, bytes.data(),
                                    static_cast<long>(bytes.size())) != 0) {
        xmp_free_context(module.context);
        module.context = nullptr;
        return module;
    }
    xmp_module_info info;
    xmp_get_module_info(module.context, &info);
    module.channels = info.mod->chn;
    module.song_length = info.mod->len;
    return module;
}

void release(LoadedModule& module) {
    if (module.context != nullptr) {
        xmp_release_module(module.context);
        xmp_free_context(module.context);
    }
}

int32_t estimated_length_ms() {
    LoadedModule module = load_with_xmp();
    if (module.context == nullptr) {
        return -1;
    }
    xmp_start_player(module.context, 8000, 0);
    xmp_frame_info info;
    xmp_get_frame_info(module.context, &info);
    xmp_end_player(module.context);
    release(module);
    return info.total_time;
}

TEST(ModulePlayback, LastsOneToTwoMinutesInLibxmp) {
    const int32_t length = estimated_length_ms();
    EXPECT_GE(length, 60000);
    EXPECT_LE(length, 120000);
}

TEST(ModulePlayback, PlaysThroughOnceInLibxmp) {
    LoadedModule module = load_with_xmp();
    ASSERT_NE(module.context, nullptr);
    ASSERT_EQ(xmp_start_player(module.context, 8000, XMP_FORMAT_MONO), 0);
    xmp_frame_info info;
    int32_t previous_position = 0;
    int32_t last_time = 0;
    int32_t total_time = 0;
    bool went_back = false;
    bool reached_end = false;
    // A safety bound: ten minutes of frames at the slowest tempo.
    for (int32_t frame = 0; frame < 600 * 50; ++frame) {
        if (xmp_play_frame(module.context) != 0) {
            reached_end = true;
            break;
        }
        xmp_get_frame_info(module.context, &info);
        if (info.loop_count > 0) {
            reached_end = true;
            break;
        }
        went_back = went_back || info.pos < previous_position;
        previous_position = info.pos;
        last_time = info.time;
        total_time = info.total_time;
    }
    xmp_end_player(module.context);
    release(module);
    EXPECT_TRUE(reached_end);
    EXPECT_FALSE(went_back);
    EXPECT_EQ(previous_position, module.song_length - 1) << "ended before the last order";
    EXPECT_NEAR(last_time, total_time, 1000);
}

// Mean square level of the whole song with only one channel unmuted.
double channel_power(LoadedModule& module, int32_t channel) {
    xmp_start_player(module.context, 8000, XMP_FORMAT_MONO);
    for (int32_t other = 0; other < module.channels; ++other) {
        xmp_channel_mute(module.context, other, other == channel ? 0 : 1);
    }
    double sum = 0.0;
    size_t count = 0;
    xmp_frame_info info;
    while (xmp_play_frame(module.context) == 0) {
        xmp_get_frame_info(module.context, &info);
        if (info.loop_count > 0) {
            break;
        }
        const auto* samples = static_cast<const int16_t*>(info.buffer);
        for (int32_t i = 0; i < info.buffer_size / 2; ++i) {
            const double value = samples[i] / 32768.0;
            sum += value * value;
        }
        count += static_cast<size_t>(info.buffer_size / 2);
    }
    xmp_end_player(module.context);
    return count > 0 ? sum / static_cast<double>(count) : 0.0;
}

TEST(ModulePlayback, EveryChannelIsHeard) {
    LoadedModule module = load_with_xmp();
    ASSERT_NE(module.context, nullptr);
    ASSERT_GE(module.channels, 6);
    double strongest = 0.0;
    std::vector<double> powers;
    for (int32_t channel = 0; channel < module.channels; ++channel) {
        powers.push_back(channel_power(module, channel));
        strongest = std::max(strongest, powers.back());
    }
    release(module);
    ASSERT_GT(std::sqrt(strongest), 0.02);
    for (int32_t channel = 0; channel < static_cast<int32_t>(powers.size()); ++channel) {
        // Within 30 dB of the loudest channel: quiet parts are fine, inaudible ones are not.
        EXPECT_GT(powers[static_cast<size_t>(channel)], strongest * 0.001) << "channel " << channel;
    }
}

// Opens SDL_mixer on the given audio driver; false (with SDL shut down again) on failure.
bool open_mixer(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    Mix_Init(MIX_INIT_MOD);
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_Quit();
        return false;
    }
    return true;
}

void close_mixer() {
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
}

TEST(ModulePlayback, SdlMixerLoadsItWithTheSameLength) {
    ASSERT_TRUE(open_mixer("dummy")) << SDL_GetError();
    Mix_Music* music = Mix_LoadMUS(data_path("supera29.xm").c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    if (music != nullptr) {
        const double xmp_seconds = estimated_length_ms() / 1000.0;
        EXPECT_NEAR(Mix_MusicDuration(music), xmp_seconds, 2.0);
        Mix_FreeMusic(music);
    }
    close_mixer();
}

// The game relies on the mixer telling when the song is over; render it through SDL's disk
// driver, which runs as fast as it can, and wait for the end.
TEST(ModulePlayback, SdlMixerPlaysItToTheEndByItself) {
    const std::string directory = make_temp_dir();
    ASSERT_FALSE(directory.empty());
    const std::string output = directory + "/music.raw";
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    ASSERT_TRUE(open_mixer("disk")) << SDL_GetError();
    Mix_Music* music = Mix_LoadMUS(data_path("supera29.xm").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
    const uint32_t start = SDL_GetTicks();
    while (Mix_PlayingMusic() != 0 && SDL_GetTicks() - start < 15000) {
        SDL_Delay(5);
    }
    const bool ended = Mix_PlayingMusic() == 0;
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    close_mixer();
    EXPECT_TRUE(ended) << "still playing after 15 s of fast rendering";

    const std::vector<uint8_t> bytes = read_bytes(output);
    std::filesystem::remove_all(directory);
    const double seconds = static_cast<double>(bytes.size()) / (4.0 * 44100.0);
    const double expected = estimated_length_ms() / 1000.0;
    EXPECT_GT(seconds, expected - 2.0);
    EXPECT_LT(seconds, expected + 10.0);
    double sum = 0.0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const double value = static_cast<int16_t>(read_u16(bytes, i)) / 32768.0;
        sum += value * value;
    }
    EXPECT_GT(std::sqrt(sum / static_cast<double>(std::max<size_t>(bytes.size() / 2, 1))), 0.03);
}

} // namespace
