// Start-up places the windows and builds the scene; shutdown releases it all in its order.
#include <gtest/gtest.h>

#include "app/state.h"
#include "app/window_procs.h"
#include "game/entities.h"
#include "game/particles.h"
#include "tests/unit/game_fixture.h"

namespace {

class StartupTest : public GameTest {};

TEST_F(StartupTest, WindowsAreCentredAndSideBySide) {
    start_game();
    const View& main = views[main_view];
    const View& gun = views[gun_view];
    EXPECT_EQ(main.width, 400);
    EXPECT_EQ(main.height, 400);
    EXPECT_EQ(main.x, 1024 / 2 - 200);
    EXPECT_EQ(main.y, 768 / 2 - 200);
    EXPECT_EQ(gun.width, 100);
    EXPECT_EQ(gun.height, 150);
    EXPECT_EQ(gun.x + gun.width, main.x);
    EXPECT_EQ(gun.y, main.y);
    EXPECT_EQ(fake::window_titled("Zarnok 3D v1.01")->class_name, "mainwindowclass");
    EXPECT_EQ(fake::window_titled("Gun")->class_name, "gunwindowclass");
    EXPECT_TRUE(fake::window_titled("Zarnok 3D v1.01")->visible);
    EXPECT_EQ(main.back_dc->width, 400);
    EXPECT_EQ(gun.back_dc->height, 150);
}

TEST_F(StartupTest, ViewsGetTheirLightsEyesAndPlayfield) {
    start_game();
    const View& main = views[main_view];
    const View& gun = views[gun_view];
    EXPECT_FLOAT_EQ(main.light.x, 200.0f);
    EXPECT_FLOAT_EQ(main.light.k, 0.45f);
    EXPECT_FLOAT_EQ(gun.light.x, 50.0f);
    EXPECT_FLOAT_EQ(gun.light.y, 75.0f);
    EXPECT_FLOAT_EQ(gun.light.k, 1.0f);
    EXPECT_FLOAT_EQ(main.eye.z, 50.0f);
    EXPECT_FLOAT_EQ(gun.eye.plane, 0.0f);
    EXPECT_EQ(field_rect.left, -140);
    EXPECT_EQ(field_rect.bottom, 540);
    EXPECT_FLOAT_EQ(particle_drift, 0.35f);
    EXPECT_EQ(running, 1);
    EXPECT_EQ(background_dc, bg_bitmap);
}

TEST_F(StartupTest, SoundAndPicturesAreLoadedInOrder) {
    start_game();
    std::vector<std::string> loads;
    for (const auto& line : fake::state().log)
        if (line.rfind("sound_init", 0) == 0 || line.rfind("load_", 0) == 0)
            loads.push_back(line);
    EXPECT_EQ(loads, (std::vector<std::string>{
                         "sound_init 44100 64 0", "load_sample -1 gun.wav 0",
                         "load_sample -1 explode.wav 0", "load_sample -1 yeah.wav 0",
                         "load_bitmap bg.bmp 400x400", "load_bitmap f1bg.bmp 400x400",
                         "load_bitmap hiscbg.bmp 400x400", "load_bitmap nfobg.bmp 400x400"}));
}

TEST_F(StartupTest, AMissingPictureLeavesABlackBackground) {
    fake::state().missing_files.insert("bg.bmp");
    start_game();
    EXPECT_EQ(bg_bitmap, nullptr);
    views[main_view].back_dc->pixels[0] = 0xFFFFFF;
    copy_block(views[main_view].back_dc, background_dc, 400, 400);
    EXPECT_EQ(views[main_view].back_dc->pixels[0], 0u);
}

TEST_F(StartupTest, ShutdownReleasesEverythingInItsOrderAndExitsWithZero) {
    start_game();
    explode(100, 100, -50, 3); // something in a list
    fake::state().log.clear();
    bool config_written_before_exit = false;
    fake::state().on_exit = [&] { config_written_before_exit = !file_bytes("config.dat").empty(); };
    send_to_main(MessageKind::destroy);
    const std::vector<std::string> expected = {
        "clip_cursor null",
        "delete_back_buffer 400x400",
        "delete_back_buffer 100x150",
        "delete_bitmap bg.bmp",
        "delete_bitmap f1bg.bmp",
        "delete_bitmap hiscbg.bmp",
        "delete_bitmap nfobg.bmp",
        "free_sample gun.wav",
        "free_sample explode.wav",
        "free_sample yeah.wav",
        "sound_close",
        "destroy_window Gun",
        "exit 0",
    };
    EXPECT_EQ(fake::state().log, expected);
    EXPECT_TRUE(config_written_before_exit);
    EXPECT_EQ(particle_list.first, nullptr);
    EXPECT_EQ(gun_model.model_faces, nullptr);
    EXPECT_EQ(floor_bars[9].world_faces, nullptr);
    EXPECT_EQ(aim_cubes, nullptr);
}

} // namespace
