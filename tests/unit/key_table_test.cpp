// Keys act on release: side screens, pause, restart, frame rate, volumes and quitting.
#include <gtest/gtest.h>

#include "app/state.h"
#include "app/window_procs.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "platform/key_codes.h"
#include "tests/unit/game_fixture.h"

namespace {

class KeyTableTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
    }
    void release(uint32_t key) { send_to_main(MessageKind::key_up, key, 1 | (3u << 30)); }
};

TEST_F(KeyTableTest, KeysActOnReleaseNotOnPress) {
    send_to_main(MessageKind::key_down, vk_f1, 1);
    send_to_main(MessageKind::key_down, vk_f1, 1 | (1u << 30)); // held: repeats
    EXPECT_EQ(help_shown, 0);
    release(vk_f1);
    EXPECT_EQ(help_shown, 1);
}

TEST_F(KeyTableTest, FunctionKeysSwitchSideScreensAndTheirPictures) {
    fake::state().cursor = {111, 222};
    release(vk_f1);
    EXPECT_EQ(background_dc, help_bitmap);
    EXPECT_EQ(saved_cursor.x, 111);
    release(vk_f5);
    EXPECT_EQ(help_shown, 0);
    EXPECT_EQ(hiscores_shown, 1);
    EXPECT_EQ(background_dc, hiscore_bitmap);
    release(vk_f7);
    EXPECT_EQ(hiscores_shown, 0);
    EXPECT_EQ(about_shown, 1);
    EXPECT_EQ(background_dc, about_bitmap);
    // F1 over the help screen keeps it and takes the present cursor position.
    release(vk_f1);
    fake::state().cursor = {5, 6};
    release(vk_f1);
    EXPECT_EQ(help_shown, 1);
    EXPECT_EQ(saved_cursor.x, 5);
    EXPECT_EQ(saved_cursor.y, 6);
}

TEST_F(KeyTableTest, AnyOtherKeyLeavesASideScreenAndPutsTheCursorBack) {
    const uint32_t others[] = {0x72,           0x73, 0x75,      0x78,     0x7A,
                               vk_letter('A'), 0x31, vk_escape, vk_return};
    for (uint32_t key : others) {
        fake::state().cursor = {70, 80};
        release(vk_f5);
        fake::state().cursor = {1, 1};
        release(key);
        EXPECT_FALSE(side_screen_shown()) << key;
        EXPECT_EQ(background_dc, bg_bitmap) << key;
        EXPECT_EQ(fake::state().cursor.x, 70) << key;
        EXPECT_EQ(fake::state().cursor.y, 80) << key;
    }
}

TEST_F(KeyTableTest, OtherKeysDoNothingInPlay) {
    const auto log_size = fake::state().log.size();
    release(0x72); // F3
    release(vk_escape);
    release(vk_letter('Q'));
    EXPECT_EQ(fake::state().log.size(), log_size);
    EXPECT_FALSE(side_screen_shown());
    EXPECT_EQ(paused, 0);
}

TEST_F(KeyTableTest, SystemKeysCarryNoCommand) {
    send_to_main(MessageKind::sys_key_up, vk_f1, 1 | (3u << 30));
    send_to_main(MessageKind::sys_key_up, vk_f10, 1 | (3u << 30));
    EXPECT_FALSE(side_screen_shown());
    release(vk_f7);
    send_to_main(MessageKind::sys_key_up, vk_menu, 1 | (3u << 30));
    EXPECT_EQ(about_shown, 1);
}

TEST_F(KeyTableTest, PIsIgnoredOverGameOverHelpAndAbout) {
    game_over = 1;
    release(vk_letter('P'));
    EXPECT_EQ(paused, 0);
    game_over = 0;
    release(vk_f1);
    release(vk_letter('P'));
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(help_shown, 1);
    release(vk_f7);
    release(vk_letter('P'));
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(about_shown, 1);
}

TEST_F(KeyTableTest, POnTheHiScoreScreenTogglesThePauseUnderneath) {
    release(vk_f5);
    release(vk_letter('P'));
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(hiscores_shown, 1);
    release(vk_letter('P'));
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(hiscores_shown, 1);
}

TEST_F(KeyTableTest, VolumeStepsClampAtBothEnds) {
    for (int i = 0; i < 13; ++i)
        release(vk_home);
    EXPECT_EQ(music_volume, 255);
    release(vk_end);
    EXPECT_EQ(music_volume, 245);
    for (int i = 0; i < 13; ++i)
        release(vk_next);
    EXPECT_EQ(sound_volume, 0);
    release(vk_prior);
    EXPECT_EQ(sound_volume, 10);
    sound_volume = 7;
    release(vk_next);
    EXPECT_EQ(sound_volume, 0);
    music_volume = 3;
    release(vk_end);
    EXPECT_EQ(music_volume, 0);
    EXPECT_EQ(fake::state().effects_volume, 0);
}

TEST_F(KeyTableTest, VolumeKeysWorkInEveryStateAndCloseNothing) {
    int32_t expected = 128;
    auto check = [&](const char* state) {
        release(vk_prior);
        expected += 10;
        EXPECT_EQ(sound_volume, expected) << state;
    };
    check("playing");
    release(vk_f1);
    check("help");
    EXPECT_EQ(help_shown, 1);
    release(vk_f5);
    check("hi-scores");
    EXPECT_EQ(hiscores_shown, 1);
    release(vk_letter('P'));
    release(vk_escape);
    check("paused");
    EXPECT_EQ(paused, 1);
    game_over = 1;
    entering_name = 1;
    check("naming");
}

TEST_F(KeyTableTest, F8TogglesTheFrameRateLine) {
    release(vk_f8);
    EXPECT_EQ(show_fps, 1);
    release(vk_f8);
    EXPECT_EQ(show_fps, 0);
}

TEST_F(KeyTableTest, F2StartsAFreshGameFromAnyState) {
    level = 7;
    points = 1234;
    game_over = 1;
    entering_name = 1;
    release(vk_f1);
    release(vk_f2);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(points, 0u);
    EXPECT_EQ(game_over, 0);
    EXPECT_EQ(entering_name, 0);
    EXPECT_FALSE(side_screen_shown());
    // The fresh game is shown over its own background, with the cursor hidden and confined.
    EXPECT_EQ(background_dc, bg_bitmap);
    EXPECT_FALSE(fake::state().cursor_visible);
    EXPECT_TRUE(fake::state().clip.has_value());
}

TEST_F(KeyTableTest, F2WhilePausedHidesTheCursorAgain) {
    release(vk_letter('P'));
    ASSERT_TRUE(fake::state().cursor_visible);
    release(vk_f2);
    EXPECT_EQ(paused, 0);
    EXPECT_FALSE(fake::state().cursor_visible);
    EXPECT_TRUE(fake::state().clip.has_value());
}

TEST_F(KeyTableTest, F12RunsTheShutdownAtOnce) {
    release(vk_f12);
    EXPECT_EQ(fake::state().exit_code, 0);
    EXPECT_EQ(file_bytes("config.dat").size(), 8u);
}

} // namespace
