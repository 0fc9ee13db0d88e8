// Fuzzing the BMP loader and its stretch: any bytes, stretched to any size, give either null or
// a picture of exactly the size asked for, without a fault.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/sdl/sdl_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes choose the size to stretch to, 0 meaning the picture's own.
    const int32_t width = data[0] * 3;
    const int32_t height = data[1] * 3;
    SDL_RWops* source = SDL_RWFromConstMem(data + 2, static_cast<int>(size - 2));
    Canvas* picture = load_bitmap_from(source, width, height);
    if (picture == nullptr)
        return 0;
    if ((width > 0 && height > 0) && (picture->width != width || picture->height != height))
        std::abort();
    // Touch every pixel, so that a short buffer shows.
    uint32_t sum = 0;
    for (int32_t y = 0; y < picture->height; ++y)
        for (int32_t x = 0; x < picture->width; ++x)
            sum += pixel_at(picture, x, y);
    volatile uint32_t keep = sum;
    (void)keep;
    free_canvas(picture);
    return 0;
}
