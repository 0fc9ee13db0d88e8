// Pixel operations on canvases that need no windowing system.
#include "platform/canvas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

void reset_text_state(Canvas* canvas) {
    canvas->text_colour = rgb(0, 0, 0);
    canvas->background_colour = rgb(255, 255, 255);
    canvas->background_mode = BackgroundMode::opaque;
    canvas->align = TextAlign::left_top;
}

Canvas* allocate_canvas(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    auto* canvas = new Canvas{};
    canvas->pixels = new uint32_t[static_cast<size_t>(width) * height + 1]();
    canvas->width = width;
    canvas->height = height;
    canvas->pitch = width;
    canvas->owns_pixels = true;
    reset_text_state(canvas);
    return canvas;
}

void free_canvas(Canvas* canvas) {
    if (canvas == nullptr)
        return;
    if (canvas->owns_pixels)
        delete[] canvas->pixels;
    delete canvas;
}

Canvas wrap_pixels(uint32_t* pixels, int32_t width, int32_t height, int32_t pitch) {
    Canvas canvas{};
    canvas.pixels = pixels;
    canvas.width = width;
    canvas.height = height;
    canvas.pitch = pitch;
    canvas.owns_pixels = false;
    reset_text_state(&canvas);
    return canvas;
}

void fill_rect(Canvas* canvas, int32_t left, int32_t top, int32_t right, int32_t bottom,
               Colour colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, canvas->width);
    bottom = std::min(bottom, canvas->height);
    const uint32_t pixel = pixel_of(colour);
    for (int32_t y = top; y < bottom; ++y)
        std::fill_n(canvas->pixels + static_cast<ptrdiff_t>(y) * canvas->pitch + left,
                    std::max(right - left, 0), pixel);
}

void copy_block(Canvas* target, const Canvas* source, int32_t width, int32_t height) {
    width = std::min(width, target->width);
    height = std::min(height, target->height);
    if (width <= 0 || height <= 0)
        return;
    if (source == nullptr) {
        fill_rect(target, 0, 0, width, height, rgb(0, 0, 0));
        return;
    }
    const int32_t w = std::min(width, source->width);
    const int32_t h = std::min(height, source->height);
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(target->pixels + static_cast<ptrdiff_t>(y) * target->pitch,
                    source->pixels + static_cast<ptrdiff_t>(y) * source->pitch,
                    static_cast<size_t>(w) * sizeof(uint32_t));
    // What the source does not cover comes out black, as from an empty picture.
    if (w < width)
        fill_rect(target, w, 0, width, h, rgb(0, 0, 0));
    if (h < height)
        fill_rect(target, 0, h, width, height, rgb(0, 0, 0));
}
