// Drawing surfaces: a 32-bit pixel buffer plus the text state that drawing on it uses.
#pragma once

#include <cstdint>

// A colour as the game stores it: red in the lowest byte, green in the next, blue in the third.
using Colour = uint32_t;

constexpr Colour rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}
constexpr uint32_t red_of(Colour c) {
    return c & 0xFF;
}
constexpr uint32_t green_of(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr uint32_t blue_of(Colour c) {
    return (c >> 16) & 0xFF;
}

// Pixels are stored XRGB8888 (blue in the lowest byte), the layout of the window surfaces.
constexpr uint32_t pixel_of(Colour c) {
    return (red_of(c) << 16) | (green_of(c) << 8) | blue_of(c);
}
constexpr Colour colour_of_pixel(uint32_t p) {
    return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

enum class BackgroundMode { opaque, transparent };
enum class TextAlign { left_top, centre_top };

struct Canvas {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch; // pixels from one row to the next
    bool owns_pixels;
    // Text state, kept with the surface and changed only when someone sets it.
    Colour text_colour;
    Colour background_colour; // painted behind the glyphs in opaque mode
    BackgroundMode background_mode;
    TextAlign align;
};

// A surface's text state when it is new: black text on an opaque white background, left/top.
void reset_text_state(Canvas* canvas);

// Allocates a canvas of its own pixels, filled black. Never returns null for sizes of 0 or more.
Canvas* allocate_canvas(int32_t width, int32_t height);
void free_canvas(Canvas* canvas);

// Wraps pixels owned by someone else (a window surface).
Canvas wrap_pixels(uint32_t* pixels, int32_t width, int32_t height, int32_t pitch);

void fill_rect(Canvas* canvas, int32_t left, int32_t top, int32_t right, int32_t bottom,
               Colour colour);

// Copies a width x height block from the top-left of source to the top-left of target,
// clipped to both. A null source paints the block black.
void copy_block(Canvas* target, const Canvas* source, int32_t width, int32_t height);

inline uint32_t pixel_at(const Canvas* canvas, int32_t x, int32_t y) {
    return canvas->pixels[y * canvas->pitch + x];
}
