// Effects, music and the two volumes on top of the sound library.
#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/main_loop.h"
#include "audio/sound.h"
#include "platform/key_codes.h"
#include "tests/unit/game_fixture.h"

namespace {

class SoundTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        fake::state().log.clear();
    }
};

class SoundStartTest : public GameTest {};

TEST_F(SoundStartTest, StartUpOpensTheLibraryThenLoadsTheEffectsInOrder) {
    music_volume = 7;
    start_sound();
    EXPECT_EQ(fake::state().log, (std::vector<std::string>{
                                     "sound_init 44100 64 0", "load_sample -1 gun.wav 0",
                                     "load_sample -1 explode.wav 0", "load_sample -1 yeah.wav 0"}));
    EXPECT_EQ(music_volume, 128);
    EXPECT_EQ(music_track, -1);
    EXPECT_STREQ(music_files[0], "supera29.xm");
    stop_sound();
}

TEST_F(SoundTest, VolumeKeysBeforeAnyModuleStillStoreTheMusicVolume) {
    press_and_release(vk_home);
    EXPECT_EQ(music_volume, 138);
    EXPECT_EQ(fake::calls_starting("music_volume").size(), 0u); // no module to tell yet
    update_music();
    EXPECT_EQ(fake::state().music_volume, 138);
}

TEST_F(SoundTest, MinusOneKeepsAVolumeAndTheRestIsClamped) {
    set_volumes(-1, 300);
    EXPECT_EQ(music_volume, 128);
    EXPECT_EQ(sound_volume, 255);
    set_volumes(-7, -1);
    EXPECT_EQ(music_volume, 0);
    EXPECT_EQ(sound_volume, 255);
    EXPECT_EQ(fake::state().effects_volume, 255);
}

TEST_F(SoundTest, TheFirstTickLoadsStartsAndAppliesTheStoredVolumes) {
    music_volume = 300;
    sound_volume = -5;
    fake::state().counter += 777;
    update_music();
    EXPECT_EQ(fake::state().log,
              (std::vector<std::string>{"music_load supera29.xm", "music_play supera29.xm",
                                        "music_volume 255", "effects_volume 0"}));
    EXPECT_EQ(music_track, 0);
    EXPECT_EQ(music_volume, 255);
    EXPECT_EQ(sound_volume, 0);
    EXPECT_EQ(clock_last, fake::state().counter); // the clock was restarted
    EXPECT_EQ(ticks_due, 0);
}

TEST_F(SoundTest, TheModuleIsLoadedOnceAndRestartedOnlyWhenFinished) {
    update_music();
    for (int i = 0; i < 50; ++i)
        update_music();
    EXPECT_EQ(fake::calls_starting("music_load").size(), 1u);
    fake::state().music_finished = true;
    update_music();
    EXPECT_EQ(fake::calls_starting("music_free").size(), 1u);
    EXPECT_EQ(fake::calls_starting("music_load").size(), 2u);
    EXPECT_EQ(fake::calls_starting("music_play").size(), 2u);
    update_music();
    EXPECT_EQ(fake::calls_starting("music_load").size(), 2u);
}

TEST_F(SoundTest, AModuleThatFailsToLoadIsNotTriedAgain) {
    fake::state().missing_files.insert("supera29.xm");
    for (int i = 0; i < 20; ++i)
        update_music();
    EXPECT_EQ(fake::calls_starting("music_load").size(), 1u);
    EXPECT_EQ(music_module, nullptr);
    set_volumes(200, 100);
    EXPECT_EQ(fake::calls_starting("music_volume").size(), 0u);
    EXPECT_EQ(music_volume, 200);
}

TEST_F(SoundTest, AModuleEndingBehindASideScreenRestartsWhenPlayResumes) {
    fake::state().counter += 10001;
    run_ticks();
    fake::state().music_finished = true;
    press_and_release(vk_f1);
    for (int i = 0; i < 5; ++i)
        idle_work();
    EXPECT_EQ(fake::calls_starting("music_load").size(), 1u);
    press_and_release(vk_escape);
    fake::state().counter += 10001;
    idle_work();
    EXPECT_EQ(fake::calls_starting("music_load").size(), 2u);
}

TEST_F(SoundTest, ShutdownReleasesTheMusicThenTheEffectsThenTheLibrary) {
    update_music();
    fake::state().log.clear();
    stop_sound();
    EXPECT_EQ(fake::state().log,
              (std::vector<std::string>{"music_stop supera29.xm", "music_free supera29.xm",
                                        "free_sample gun.wav", "free_sample explode.wav",
                                        "free_sample yeah.wav", "sound_close"}));
}

} // namespace
