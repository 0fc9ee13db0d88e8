// The first frame of a game, drawn by the real platform layer on the dummy driver, against a
// reviewed picture of it. The text may differ by a pixel here and there with the font's version,
// so the HUD's corner is judged by its colours rather than pixel by pixel.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "app/random.h"
#include "app/startup.h"
#include "app/state.h"
#include "platform/sdl/sdl_windows.h"
#include "render/compose_frame.h"

namespace {

constexpr const char* golden_path = ZARNOK_GOLDEN_DIR "/start_frame.bmp";

// The HUD's four lines: labels from x 0, values from x 80, rows 0 to 60 plus a line's height.
bool in_hud(int32_t x, int32_t y) {
    return x < 160 && y < 78;
}

uint32_t golden_pixel(SDL_Surface* golden, int32_t x, int32_t y) {
    const auto* row = static_cast<const uint8_t*>(golden->pixels) + y * golden->pitch;
    const uint8_t* p = row + x * 3; // BGR, as SDL keeps a 24-bit BMP
    return pixel_of(rgb(p[2], p[1], p[0]));
}

class StartFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // No pictures in the folder: the frame is drawn over black, as from a missing bg.bmp.
        directory =
            std::filesystem::temp_directory_path() / ("zarnok-frame-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(directory);
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        ASSERT_TRUE(open_platform());
        init_game();
        seed_random(1);
        views[main_view].mouse_x = 200;
        views[main_view].mouse_y = 200;
        build_main_frame();
    }
    void TearDown() override {
        close_all_windows();
        SDL_Quit();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(directory);
    }
    std::filesystem::path directory, previous;
};

TEST_F(StartFrameTest, MatchesTheReviewedPicture) {
    const Canvas* frame = views[main_view].back_dc;
    if (std::getenv("ZARNOK_UPDATE_GOLDEN") != nullptr) {
        SDL_Surface* out =
            SDL_CreateRGBSurfaceWithFormatFrom(frame->pixels, frame->width, frame->height, 32,
                                               frame->pitch * 4, SDL_PIXELFORMAT_RGB888);
        SDL_Surface* rgb24 = SDL_ConvertSurfaceFormat(out, SDL_PIXELFORMAT_BGR24, 0);
        ASSERT_EQ(SDL_SaveBMP(rgb24, golden_path), 0);
        SDL_FreeSurface(rgb24);
        SDL_FreeSurface(out);
    }
    SDL_Surface* golden = SDL_LoadBMP(golden_path);
    ASSERT_NE(golden, nullptr) << golden_path;
    ASSERT_EQ(golden->format->BytesPerPixel, 3);
    ASSERT_EQ(golden->w, frame->width);
    ASSERT_EQ(golden->h, frame->height);

    int32_t differing = 0, green = 0, yellow = 0, other_in_hud = 0;
    for (int32_t y = 0; y < frame->height; ++y)
        for (int32_t x = 0; x < frame->width; ++x) {
            const uint32_t p = pixel_at(frame, x, y);
            if (!in_hud(x, y)) {
                differing += p != golden_pixel(golden, x, y);
                continue;
            }
            const Colour c = colour_of_pixel(p);
            green += c == rgb(0, 255, 0);
            yellow += c == rgb(255, 255, 0);
            // Only the text's colours, their blends with black, and the black around them.
            other_in_hud += blue_of(c) != 0 || (red_of(c) != 0 && red_of(c) != green_of(c));
        }
    SDL_FreeSurface(golden);
    EXPECT_EQ(differing, 0) << "pixels outside the HUD differ from " << golden_path;
    EXPECT_GT(green, 80);  // "POINTS:", "ACCURACY:", "LEVEL:", "TO NEXT:"
    EXPECT_GT(yellow, 20); // "0", "100%", "1", "5"
    EXPECT_EQ(other_in_hud, 0);
}

TEST_F(StartFrameTest, FloorAndAimLineAreWhereTheyBelong) {
    const Canvas* frame = views[main_view].back_dc;
    // The aim line starts in the middle and runs straight in: green at the centre.
    const Colour centre = colour_of_pixel(pixel_at(frame, 200, 200));
    EXPECT_EQ(red_of(centre), 0u);
    EXPECT_GT(green_of(centre), 200u);
    // The sand-coloured floor fills the bottom rows across the whole width.
    for (int32_t x : {0, 200, 399}) {
        const Colour floor = colour_of_pixel(pixel_at(frame, x, 395));
        EXPECT_GT(red_of(floor), green_of(floor)) << x;
        EXPECT_GT(green_of(floor), blue_of(floor)) << x;
    }
    // And nothing above the horizon but the black of the missing picture, the line and the HUD.
    EXPECT_EQ(pixel_at(frame, 300, 100), 0u);
}

} // namespace
