// The scene passes: the aim line, the gun view and the order a frame is built in.
#include <gtest/gtest.h>

#include <cmath>

#include "app/clock.h"
#include "app/random.h"
#include "app/state.h"
#include "game/entities.h"
#include "render/compose_frame.h"
#include "render/gun_view.h"
#include "render/scene.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class SceneTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        point_mouse_at(200, 200);
    }
    void point_mouse_at(int32_t x, int32_t y) {
        views[main_view].mouse_x = x;
        views[main_view].mouse_y = y;
        draw_gun_view();
    }
};

TEST_F(SceneTest, AimingAtTheCentreSendsTheLineStraightIn) {
    update_aim_line();
    for (int k = 0; k < aim_cube_count; ++k) {
        EXPECT_FLOAT_EQ(aim_cubes[k].position.x, 200.0f) << k;
        EXPECT_FLOAT_EQ(aim_cubes[k].position.y, 200.0f) << k;
        EXPECT_FLOAT_EQ(aim_cubes[k].position.z, -22.5f * static_cast<float>(k)) << k;
    }
    EXPECT_EQ(gun_model.angle_x, 0.0f);
    EXPECT_EQ(gun_model.angle_y, 0.0f);
}

TEST_F(SceneTest, TheLineTurnsWithTheMouse) {
    point_mouse_at(300, 200);
    EXPECT_FLOAT_EQ(gun_model.angle_y, 40.0f);
    update_aim_line();
    const float dx = static_cast<float>(1.5 * std::sin(40.0 * 3.14 / 180.0));
    EXPECT_NEAR(dx, 0.964, 0.001);
    EXPECT_FLOAT_EQ(aim_cubes[4].position.x, 200.0f + dx * 60.0f);
    point_mouse_at(200, 100); // up: the line rises
    update_aim_line();
    EXPECT_FLOAT_EQ(gun_model.angle_x, 40.0f);
    EXPECT_LT(aim_cubes[9].position.y, 200.0f);
}

TEST_F(SceneTest, ShallowPitchWithSteepYawTakesTheDepthFromTheYaw) {
    point_mouse_at(200 + 180,
                   200 + 10); // yaw 72: |trunc(-1.5 cos B)| = 0 below |trunc(-1.5 cos A)| = 1
    update_aim_line();
    const double b = 72.0 * 3.14 / 180.0;
    EXPECT_FLOAT_EQ(aim_cubes[1].position.z, static_cast<float>(-1.5 * std::cos(b)) * 15.0f);
}

TEST_F(SceneTest, CubesNearATargetTurnRedByTheirPreviousPlace) {
    update_aim_line(); // cube 2 now at (200, 200, -45)
    add_target(200 + 15.9f, 200 - 15.9f, -45 + 15.9f);
    update_aim_line();
    EXPECT_EQ(aim_cubes[2].red, 255);
    EXPECT_EQ(aim_cubes[2].green, 0);
    EXPECT_EQ(aim_cubes[5].green, 255);
    clear_targets();
    live_targets = 0;
    add_target(200, 200 + 16.0f, -45);
    update_aim_line();
    EXPECT_EQ(aim_cubes[2].green, 255);
}

TEST_F(SceneTest, CubesSpinByRandomStepsAndWrapToZero) {
    seed_random(99);
    aim_cubes[0].angle_x = 359.5f;
    update_aim_line();
    seed_random(99);
    const int32_t step = next_random() % 5;
    EXPECT_EQ(aim_cubes[0].angle_x, step > 0 ? 0.0f : 359.5f);
    const int32_t step_y = next_random() % 5;
    EXPECT_EQ(aim_cubes[0].angle_y, static_cast<float>(step_y));
}

TEST_F(SceneTest, TheGunViewIsPaintedShownAndErased) {
    point_mouse_at(260, 150);
    const Canvas* back = views[gun_view].back_dc;
    for (int32_t i = 0; i < back->width * back->height; ++i)
        ASSERT_EQ(back->pixels[i], 0u) << i; // erased after showing
    const Canvas* shown = fake::window_titled("Gun")->surface;
    int32_t blue = 0;
    for (int32_t i = 0; i < shown->width * shown->height; ++i)
        blue += shown->pixels[i] != 0 && (shown->pixels[i] & 0xFF) > 0;
    EXPECT_GT(blue, 500); // a big blue box fills much of the little window
    EXPECT_FLOAT_EQ(gun_model.angle_x, 20.0f);
    EXPECT_FLOAT_EQ(gun_model.angle_y, 24.0f);
}

TEST_F(SceneTest, TheFrameRateLineIsDrawnOnlyWhenSwitchedOn) {
    frames_per_second = 61;
    build_main_frame();
    EXPECT_EQ(fake::find_text("FPS:61"), nullptr);
    show_fps = 1;
    build_main_frame();
    const TextCall* line = fake::find_text("FPS:61");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->x, 0);
    EXPECT_EQ(line->y, 300);
    // It keeps the text state the frame leaves: the HUD restored black, opaque text.
    EXPECT_EQ(line->colour, rgb(0, 0, 0));
    EXPECT_EQ(line->mode, BackgroundMode::opaque);
}

TEST_F(SceneTest, TheSceneCoversTheHudAndTheAimLineGoesAtGameOver) {
    const Canvas* back = views[main_view].back_dc;
    build_main_frame();
    EXPECT_EQ(colour_of_pixel(pixel_at(back, 10, 5)), rgb(0, 255, 0)); // "POINTS:"
    add_target(10, 10, 0);                                             // over the top-left corner
    build_main_frame();
    EXPECT_EQ(green_of(colour_of_pixel(pixel_at(back, 10, 5))), 0u);
    EXPECT_GT(red_of(colour_of_pixel(pixel_at(back, 10, 5))), 100u);
    const uint32_t centre = pixel_at(back, 200, 200);
    EXPECT_GT(green_of(colour_of_pixel(centre)), 200u); // the first aim cube
    game_over = 1;
    build_main_frame();
    EXPECT_EQ(pixel_at(back, 200, 200), pixel_at(bg_bitmap, 200, 200));
}

} // namespace
