// What the game's sound really mixes, written by SDL's disk audio driver: the music after the
// first tick, the gun on firing, and silence at volume 0.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "app/clock.h"
#include "app/state.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "game/shots.h"

namespace {

class AudioOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory =
            std::filesystem::temp_directory_path() / ("zarnok-audio-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
        for (const char* file : {"gun.wav", "explode.wav", "yeah.wav", "supera29.xm"})
            std::filesystem::copy_file(std::filesystem::path(ZARNOK_DATA_DIR) / file,
                                       directory / file);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(directory);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        // Mixed at the pace of a real device: a few kilobytes a test.
        unsetenv("SDL_DISKAUDIODELAY");
        setenv("SDL_DISKAUDIOFILE", (directory / "out.raw").c_str(), 1);
        start_clock();
        views[main_view].width = 400;
        views[main_view].height = 400;
        start_sound();
    }
    void TearDown() override {
        clear_shots();
        std::filesystem::current_path(previous);
        SDL_Quit();
        std::filesystem::remove_all(directory);
    }
    // Lets the mixer run for a while, closes the output and returns the loudest sample written
    // from the given byte of the output on.
    int32_t loudest_after(uint32_t milliseconds, std::streamoff from = 0) {
        SDL_Delay(milliseconds);
        stop_sound();
        std::ifstream in(directory / "out.raw", std::ios::binary);
        in.seekg(from);
        std::vector<int16_t> samples(1 << 20);
        int32_t loudest = 0;
        while (in.read(reinterpret_cast<char*>(samples.data()), samples.size() * 2) ||
               in.gcount() > 0) {
            const auto count = static_cast<size_t>(in.gcount() / 2);
            for (size_t i = 0; i < count; ++i)
                loudest = std::max(loudest, std::abs(static_cast<int32_t>(samples[i])));
        }
        return loudest;
    }
    std::filesystem::path directory, previous;
};

TEST_F(AudioOutputTest, NothingSoundsBeforeTheFirstTick) {
    EXPECT_EQ(loudest_after(150), 0);
}

TEST_F(AudioOutputTest, TheMusicIsHeardFromTheFirstTick) {
    update_music();
    ASSERT_NE(music_module, nullptr);
    EXPECT_GT(loudest_after(150), 3000);
}

TEST_F(AudioOutputTest, FiringSoundsTheGun) {
    gun_model.angle_x = gun_model.angle_y = 0;
    fire_shot();
    ASSERT_NE(shot_list.first, nullptr);
    EXPECT_GT(loudest_after(150), 3000);
}

TEST_F(AudioOutputTest, EffectsAtVolumeZeroAreSilent) {
    set_volumes(-1, 0);
    fire_shot();
    play_effect(explode_sound);
    EXPECT_EQ(loudest_after(150), 0);
}

TEST_F(AudioOutputTest, MusicTurnedDownToZeroFallsSilent) {
    update_music();
    SDL_Delay(100);
    set_volumes(0, -1);
    // What was already mixed before the change may still be on its way out: skip a buffer or two.
    const auto changed_at =
        static_cast<std::streamoff>(std::filesystem::file_size(directory / "out.raw"));
    EXPECT_EQ(loudest_after(300, changed_at + 16384), 0);
}

} // namespace
