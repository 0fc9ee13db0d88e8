// Text through the glyph cache, BMP pictures, the clock and the cursor on SDL.
#include "tests/integration/sdl_fixture.h"

#include <filesystem>
#include <fstream>

#include "platform/bitmap.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/text.h"

namespace {

using DrawingTest = SdlTest;

struct Box {
    int32_t left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int32_t count = 0;
};

// Where pixels of exactly this colour lie.
Box pixels_of(const Canvas* canvas, Colour colour) {
    Box box;
    const uint32_t pixel = pixel_of(colour);
    for (int32_t y = 0; y < canvas->height; ++y)
        for (int32_t x = 0; x < canvas->width; ++x)
            if (pixel_at(canvas, x, y) == pixel) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

TEST_F(DrawingTest, TextIsDrawnInItsColourBelowAndRightOfItsPoint) {
    Canvas* canvas = allocate_canvas(200, 60);
    canvas->background_mode = BackgroundMode::transparent;
    canvas->text_colour = rgb(0, 255, 0);
    draw_text(canvas, 20, 10, "POINTS:", 7);
    const Box green = pixels_of(canvas, rgb(0, 255, 0));
    EXPECT_GT(green.count, 40);
    EXPECT_GE(green.left, 20);
    EXPECT_LE(green.left, 23);
    EXPECT_GE(green.top, 10);
    EXPECT_LE(green.bottom, 10 + 16);
    EXPECT_LT(green.right, 20 + 7 * 11);
    EXPECT_EQ(pixel_at(canvas, 0, 0), 0u); // transparent: the rest stays as it was
    free_canvas(canvas);
}

TEST_F(DrawingTest, OpaqueTextPaintsItsBackgroundAndCentringCentres) {
    Canvas* canvas = allocate_canvas(200, 40);
    draw_text(canvas, 100, 5, "HELLO", 5); // default: black on opaque white
    const Box white = pixels_of(canvas, rgb(255, 255, 255));
    EXPECT_GT(white.count, 100);
    EXPECT_EQ(white.left, 100);
    canvas->align = TextAlign::centre_top;
    fill_rect(canvas, 0, 0, 200, 40, rgb(0, 0, 0));
    canvas->background_mode = BackgroundMode::transparent;
    canvas->text_colour = rgb(255, 255, 255);
    draw_text(canvas, 100, 5, "HELLO", 5);
    const Box centred = pixels_of(canvas, rgb(255, 255, 255));
    ASSERT_GT(centred.count, 20);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 100.0, 3.0);
    free_canvas(canvas);
}

TEST_F(DrawingTest, TextIsClippedAtTheEdgesAndEmptyTextDrawsNothing) {
    Canvas* canvas = allocate_canvas(30, 8);
    canvas->text_colour = rgb(255, 0, 0);
    draw_text(canvas, -10, -5, "WWWWWWWWWW", 10);
    draw_text(canvas, 0, 0, "", 0);
    draw_text(canvas, 25, 6, "W", 1);
    EXPECT_GT(pixels_of(canvas, rgb(255, 0, 0)).count, 0);
    free_canvas(canvas);
}

TEST_F(DrawingTest, PicturesAreStretchedToTheSizeAskedFor) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 40, 20, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 20, 40, 200));
    const std::string path = (std::filesystem::temp_directory_path() / "zarnok-pic.bmp").string();
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);

    Canvas* picture = load_bitmap(path.c_str(), 400, 400);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 400);
    EXPECT_EQ(picture->height, 400);
    EXPECT_EQ(colour_of_pixel(pixel_at(picture, 399, 399)), rgb(20, 40, 200));
    EXPECT_EQ(colour_of_pixel(pixel_at(picture, 200, 0)), rgb(20, 40, 200));
    delete_bitmap(picture);
    std::filesystem::remove(path);
}

TEST_F(DrawingTest, MissingEmptyOrBrokenPicturesGiveNull) {
    const auto dir = std::filesystem::temp_directory_path();
    EXPECT_EQ(load_bitmap((dir / "zarnok-no-such.bmp").c_str(), 10, 10), nullptr);
    const auto empty = dir / "zarnok-empty.bmp";
    std::ofstream(empty).close();
    EXPECT_EQ(load_bitmap(empty.c_str(), 10, 10), nullptr);
    const auto garbage = dir / "zarnok-garbage.bmp";
    std::ofstream(garbage) << "BM this is not a picture at all";
    EXPECT_EQ(load_bitmap(garbage.c_str(), 10, 10), nullptr);
    std::filesystem::remove(empty);
    std::filesystem::remove(garbage);
}

namespace {

// A 54-byte header of a 24-bit picture with the sides given.
std::string bmp_header(int32_t width, int32_t height) {
    std::string header(54, '\0');
    auto put = [&](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            header[at + i] = static_cast<char>(value >> (8 * i));
    };
    header[0] = 'B';
    header[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return header;
}

} // namespace

TEST_F(DrawingTest, HeadersClaimingHugePicturesAreRefusedBeforeAnythingIsSetAside) {
    // Under the address sanitizer a loader that believes these headers aborts on the allocation.
    const auto path = std::filesystem::temp_directory_path() / "zarnok-huge.bmp";
    for (const auto& [width, height] :
         {std::pair{100000, 100000}, std::pair{-90000, 70000}, std::pair{4100, 4000}}) {
        std::ofstream(path, std::ios::binary) << bmp_header(width, height) << "short";
        EXPECT_EQ(load_bitmap(path.c_str(), 10, 10), nullptr) << width << " x " << height;
    }
    // A header cut short after its size field, which claims 77 kB of header.
    const unsigned char cut[] = {0x42, 0x4d, 0x36, 0x52, 0x85, 0x05, 0x00, 0x00, 0x00, 0x00,
                                 0x00, 0x00, 0x54, 0xff, 0xff, 0x30, 0x01, 0x00, 0x07, 0x1a,
                                 0x09, 0x07, 0x07, 0x1a, 0x09, 0x07, 0x1a, 0x1c, 0x20, 0x00};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(cut), sizeof cut);
    EXPECT_EQ(load_bitmap(path.c_str(), 10, 10), nullptr);
    // An old core header with sides of 65136 x 65535, which are unsigned there.
    std::string core = bmp_header(0, 0).substr(0, 26) + std::string(40, '\xff');
    core[14] = 12;
    core[18] = '\x70', core[19] = '\xfe', core[20] = '\xff', core[21] = '\xff';
    core[22] = 1, core[23] = 0, core[24] = 1, core[25] = 0;
    std::ofstream(path, std::ios::binary) << core;
    EXPECT_EQ(load_bitmap(path.c_str(), 10, 10), nullptr);
    // A whole picture in the same form still loads.
    std::ofstream(path, std::ios::binary) << bmp_header(2, -1) << std::string(8, '\x7f');
    Canvas* picture = load_bitmap(path.c_str(), 0, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 2);
    EXPECT_EQ(colour_of_pixel(pixel_at(picture, 1, 0)), rgb(0x7f, 0x7f, 0x7f));
    delete_bitmap(picture);
    std::filesystem::remove(path);
}

TEST_F(DrawingTest, TheClockRunsForward) {
    EXPECT_GE(perf_frequency(), 1000000);
    const int64_t a = perf_counter();
    SDL_Delay(2);
    EXPECT_GT(perf_counter(), a);
}

TEST_F(DrawingTest, ShiftFollowsTheModifierState) {
    SDL_SetModState(KMOD_NONE);
    EXPECT_FALSE(shift_key_down());
    SDL_SetModState(KMOD_RSHIFT);
    EXPECT_TRUE(shift_key_down());
    SDL_SetModState(KMOD_NONE);
}

} // namespace
