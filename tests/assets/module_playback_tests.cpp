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

// A libxmp context with the module loaded, freed when it goes; null when loading failed.
struct Player {
    xmp_context context = nullptr;
    int channels = 0, song_length = 0;
    Player() = default;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;
    ~Player() {
        if (context == nullptr)
            return;
        xmp_end_player(context);
        xmp_release_module(context);
        xmp_free_context(context);
    }
};

// Loads the module and starts playing it at 8 kHz mono; gives the length libxmp works out from
// the patterns, in milliseconds, or -1.
int start_player(Player* player) {
    const std::vector<uint8_t> bytes = read_bytes(data_path("supera29.xm"));
    xmp_context context = xmp_create_context();
    if (xmp_load_module_from_memory(context, bytes.data(), static_cast<long>(bytes.size())) != 0) {
        xmp_free_context(context);
        return -1;
    }
    player->context = context;
    xmp_module_info info;
    xmp_get_module_info(context, &info);
    player->channels = info.mod->chn;
    player->song_length = info.mod->len;
    xmp_frame_info frame;
    if (xmp_start_player(context, 8000, XMP_FORMAT_MONO) != 0)
        return -1;
    xmp_get_frame_info(context, &frame);
    return frame.total_time;
}

TEST(ModulePlayback, PlaysThroughOnceInLibxmpInOneToTwoMinutes) {
    Player player;
    const int length = start_player(&player);
    ASSERT_GE(length, 0);
    EXPECT_GE(length, 60000);
    EXPECT_LE(length, 120000);
    xmp_frame_info info;
    int previous_position = 0, last_time = 0;
    bool went_back = false;
    // A safety bound: ten minutes of frames at the slowest tempo.
    int frame = 0;
    for (; frame < 600 * 50; ++frame) {
        if (xmp_play_frame(player.context) != 0)
            break;
        xmp_get_frame_info(player.context, &info);
        if (info.loop_count > 0)
            break;
        went_back = went_back || info.pos < previous_position;
        previous_position = info.pos;
        last_time = info.time;
    }
    EXPECT_LT(frame, 600 * 50) << "no end after ten minutes of frames";
    EXPECT_FALSE(went_back);
    EXPECT_EQ(previous_position, player.song_length - 1) << "ended before the last order";
    EXPECT_NEAR(last_time, length, 1000);
}

TEST(ModulePlayback, EveryChannelIsHeard) {
    Player player;
    ASSERT_GE(start_player(&player), 0);
    ASSERT_GE(player.channels, 6);
    // The mean square level of the whole song with only one channel unmuted.
    std::vector<double> powers;
    for (int channel = 0; channel < player.channels; ++channel) {
        xmp_end_player(player.context);
        xmp_start_player(player.context, 8000, XMP_FORMAT_MONO);
        for (int other = 0; other < player.channels; ++other)
            xmp_channel_mute(player.context, other, other == channel ? 0 : 1);
        double sum = 0.0;
        size_t count = 0;
        xmp_frame_info info;
        while (xmp_play_frame(player.context) == 0) {
            xmp_get_frame_info(player.context, &info);
            if (info.loop_count > 0)
                break;
            const auto* samples = static_cast<const int16_t*>(info.buffer);
            for (int i = 0; i < info.buffer_size / 2; ++i)
                sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
            count += static_cast<size_t>(info.buffer_size / 2);
        }
        powers.push_back(count > 0 ? sum / static_cast<double>(count) : 0.0);
    }
    const double strongest = *std::max_element(powers.begin(), powers.end());
    ASSERT_GT(std::sqrt(strongest), 0.02);
    for (size_t channel = 0; channel < powers.size(); ++channel)
        // Within 30 dB of the loudest channel: quiet parts are fine, inaudible ones are not.
        EXPECT_GT(powers[channel], strongest * 0.001) << "channel " << channel;
}

// The game relies on the mixer telling when the song is over; render it through SDL's disk
// driver, which runs as fast as it can, and wait for the end.
TEST(ModulePlayback, SdlMixerAgreesOnTheLengthAndPlaysItToTheEndByItself) {
    Player player;
    const double expected = start_player(&player) / 1000.0;
    ASSERT_GT(expected, 0.0);
    const std::string directory = make_temp_dir();
    ASSERT_FALSE(directory.empty());
    const std::string output = directory + "/music.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    Mix_Init(MIX_INIT_MOD);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    Mix_Music* music = Mix_LoadMUS(data_path("supera29.xm").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_NEAR(Mix_MusicDuration(music), expected, 2.0);
    ASSERT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
    const uint32_t start = SDL_GetTicks();
    while (Mix_PlayingMusic() != 0 && SDL_GetTicks() - start < 15000)
        SDL_Delay(5);
    EXPECT_EQ(Mix_PlayingMusic(), 0) << "still playing after 15 s of fast rendering";
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();

    const std::vector<uint8_t> bytes = read_bytes(output);
    std::filesystem::remove_all(directory);
    const double seconds = static_cast<double>(bytes.size()) / (4.0 * 44100.0);
    EXPECT_GT(seconds, expected - 2.0);
    EXPECT_LT(seconds, expected + 10.0);
    double sum = 0.0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        sum += std::pow(static_cast<int16_t>(read_u16(bytes, i)) / 32768.0, 2);
    EXPECT_GT(std::sqrt(sum / static_cast<double>(std::max<size_t>(bytes.size() / 2, 1))), 0.03)
        << "the music is not audible";
}

} // namespace
