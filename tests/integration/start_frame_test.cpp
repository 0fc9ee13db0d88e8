// The first frame of a game, drawn by the real platform layer on the dummy driver without its
// pictures, against a reviewed picture of it. Text may differ by a pixel here and there with
// the font's version, so the HUD's corner is judged by its colours instead.
#include "tests/integration/sdl_fixture.h"

#include "app/random.h"
#include "app/startup.h"
#include "app/state.h"
#include "render/compose_frame.h"

namespace {

using StartFrameTest = SdlTest;

TEST_F(StartFrameTest, MatchesTheReviewedPicture) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    init_game();
    seed_random(1);
    views[main_view].mouse_x = views[main_view].mouse_y = 200;
    build_main_frame();
    const Canvas* frame = views[main_view].back_dc;
    const char* golden_path = ZARNOK_GOLDEN_DIR "/start_frame.bmp";
    SDL_Surface* golden = SDL_LoadBMP(golden_path);
    ASSERT_NE(golden, nullptr);
    ASSERT_EQ(golden->w * 1000 + golden->h, frame->width * 1000 + frame->height);
    int32_t differing = 0, green = 0, yellow = 0, other_in_hud = 0;
    for (int32_t y = 0; y < frame->height; ++y)
        for (int32_t x = 0; x < frame->width; ++x) {
            const Colour c = colour_of_pixel(pixel_at(frame, x, y));
            const uint8_t* p =
                static_cast<const uint8_t*>(golden->pixels) + y * golden->pitch + x * 3;
            if (x >= 160 || y >= 78) { // the HUD's four lines lie above and left of this
                differing += c != rgb(p[2], p[1], p[0]);
                continue;
            }
            green += c == rgb(0, 255, 0);
            yellow += c == rgb(255, 255, 0);
            other_in_hud += blue_of(c) != 0 || (red_of(c) != 0 && red_of(c) != green_of(c));
        }
    SDL_FreeSurface(golden);
    EXPECT_EQ(differing, 0) << "pixels outside the HUD differ from " << golden_path;
    EXPECT_GT(green, 80);  // "POINTS:", "ACCURACY:", "LEVEL:", "TO NEXT:"
    EXPECT_GT(yellow, 20); // "0", "100%", "1", "5"
    EXPECT_EQ(other_in_hud, 0);
}

} // namespace
