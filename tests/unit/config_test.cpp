// config.dat: the bytes written, and short, odd and missing files.
#include <gtest/gtest.h>

#include "app/clock.h"
#include "audio/sound.h"
#include "platform/key_codes.h"
#include "store/config.h"
#include "tests/unit/game_fixture.h"

namespace {

class ConfigTest : public GameTest {};

TEST_F(ConfigTest, FirstRunLeavesBothAt128AndWritesThemOnClose) {
    start_game();
    EXPECT_TRUE(file_bytes("config.dat").empty()); // not created at start-up
    send_to_main(MessageKind::destroy);
    EXPECT_EQ(file_bytes("config.dat"), (std::vector<uint8_t>{0x80, 0, 0, 0, 0x80, 0, 0, 0}));
}

TEST_F(ConfigTest, OutOfRangeValuesAreClampedAtTheFirstTickAndSavedClamped) {
    write_file("config.dat", {0x2C, 0x01, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF}); // 300 and -5
    start_game();
    EXPECT_EQ(music_volume, 300);
    EXPECT_EQ(sound_volume, -5);
    fake::state().counter += 20000;
    run_ticks();
    EXPECT_EQ(music_volume, 255);
    EXPECT_EQ(sound_volume, 0);
    EXPECT_EQ(fake::state().music_volume, 255);
    EXPECT_EQ(fake::state().effects_volume, 0);
    send_to_main(MessageKind::destroy);
    EXPECT_EQ(file_bytes("config.dat"), (std::vector<uint8_t>{0xFF, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ConfigTest, AFourByteFileSetsTheMusicVolumeAlone) {
    write_file("config.dat", {58, 0, 0, 0});
    start_game();
    EXPECT_EQ(music_volume, 58);
    EXPECT_EQ(sound_volume, 128);
}

TEST_F(ConfigTest, BytesPastTheEighthAreIgnored) {
    write_file("config.dat", {1, 0, 0, 0, 2, 0, 0, 0, 9, 9, 9});
    load_config();
    EXPECT_EQ(music_volume, 1);
    EXPECT_EQ(sound_volume, 2);
}

TEST_F(ConfigTest, AVolumeChangeSurvivesToTheNextRun) {
    start_game();
    for (int i = 0; i < 7; ++i)
        press_and_release(vk_end);
    send_to_main(MessageKind::destroy);
    music_volume = 128;
    load_config();
    EXPECT_EQ(music_volume, 58);
}

TEST_F(ConfigTest, AFailedWriteLeavesTheOldFileWhole) {
    write_file("config.dat", {10, 0, 0, 0, 20, 0, 0, 0});
    std::filesystem::create_directory("config.dat.new"); // the temporary cannot be made
    music_volume = 99;
    save_config();
    EXPECT_EQ(file_bytes("config.dat"), (std::vector<uint8_t>{10, 0, 0, 0, 20, 0, 0, 0}));
}

} // namespace
