// BMP pictures on SDL, converted to our pixel layout and stretched to the size asked for.
#include <cstring>

#include "platform/bitmap.h"
#include "platform/sdl/sdl_bitmap.h"

namespace {

// Copies a surface in our pixel layout into a new canvas of its size.
Canvas* canvas_from_surface(SDL_Surface* surface) {
    Canvas* canvas = allocate_canvas(surface->w, surface->h);
    for (int y = 0; y < surface->h; ++y)
        std::memcpy(canvas->pixels + static_cast<ptrdiff_t>(y) * canvas->pitch,
                    static_cast<const uint8_t*>(surface->pixels) +
                        static_cast<ptrdiff_t>(y) * surface->pitch,
                    static_cast<size_t>(surface->w) * 4);
    return canvas;
}

} // namespace

Canvas* load_bitmap(const char* path, int32_t width, int32_t height) {
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    return file == nullptr ? nullptr : load_bitmap_from(file, width, height);
}

Canvas* load_bitmap_from(SDL_RWops* source, int32_t width, int32_t height) {
    SDL_Surface* loaded = SDL_LoadBMP_RW(source, 1);
    if (loaded == nullptr)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr)
        return nullptr;
    if (width <= 0 || height <= 0 || (width == converted->w && height == converted->h)) {
        Canvas* canvas = canvas_from_surface(converted);
        SDL_FreeSurface(converted);
        return canvas;
    }
    SDL_Surface* stretched =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    Canvas* canvas = nullptr;
    if (stretched != nullptr && SDL_SoftStretchLinear(converted, nullptr, stretched, nullptr) == 0)
        canvas = canvas_from_surface(stretched);
    SDL_FreeSurface(stretched);
    SDL_FreeSurface(converted);
    return canvas;
}

void delete_bitmap(Canvas* bitmap) {
    free_canvas(bitmap);
}
