// BMP pictures on SDL, converted to our pixel layout and stretched to the size asked for.
#include <cstring>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/sdl/sdl_bitmap.h"
#include "store/data_file.h"

namespace {

uint32_t little_endian(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// SDL sets aside the whole picture before it reads a row, so a header claiming a huge picture
// would cost gigabytes even when the file is tiny. Refuses headers cut short, sides beyond
// largest_picture_side, and uncompressed pixel data longer than what the source holds: null when
// the header is plausible, else why not. Leaves the source where it was.
const char* header_problem(SDL_RWops* source) {
    uint8_t header[34] = {};
    const Sint64 start = SDL_RWtell(source);
    const size_t got = SDL_RWread(source, header, 1, sizeof header);
    SDL_RWseek(source, start, RW_SEEK_SET);
    if (got < 2 || header[0] != 'B' || header[1] != 'M')
        return "not a BMP picture";
    // Too short for its own header, SDL would read sides from beyond the end.
    constexpr const char* cut_short = "its header is cut short";
    if (got < 26)
        return cut_short;
    const uint32_t info_size = little_endian(header + 14, 4);
    int64_t width, height;
    uint32_t bits, compression = 0;
    if (info_size == 12) {
        // The old core header's sides are unsigned.
        width = little_endian(header + 18, 2);
        height = little_endian(header + 20, 2);
        bits = little_endian(header + 24, 2);
    } else {
        if (got < sizeof header)
            return cut_short;
        width = static_cast<int32_t>(little_endian(header + 18, 4));
        height = static_cast<int32_t>(little_endian(header + 22, 4));
        bits = little_endian(header + 28, 2);
        compression = little_endian(header + 30, 4);
    }
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    if (width > largest_picture_side || height > largest_picture_side)
        return "larger than 2048 x 2048 pixels";
    if (bits == 0 || bits > 32)
        return "not 1 to 32 bits a pixel";
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    const Sint64 size = SDL_RWsize(source);
    const int64_t row_bytes = (width * bits + 31) / 32 * 4;
    if (uncompressed && size >= 0 && row_bytes * height > size - start)
        return "its header claims more pixels than the file holds";
    return nullptr;
}

// A picture is usable when its header is plausible and SDL can read it.
const char* bitmap_problem(const std::vector<uint8_t>& bytes) {
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (source == nullptr)
        return "an empty file";
    if (const char* problem = header_problem(source)) {
        SDL_RWclose(source);
        return problem;
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(source, 1);
    if (loaded != nullptr) {
        SDL_FreeSurface(loaded);
        return nullptr;
    }
    static std::string why;
    why = std::string("SDL cannot read it: ") + SDL_GetError();
    return why.c_str();
}

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
    std::vector<uint8_t> bytes;
    if (!read_data_file(path, &bytes, bitmap_problem))
        return nullptr;
    return load_bitmap_from(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), width,
                            height);
}

Canvas* load_bitmap_from(SDL_RWops* source, int32_t width, int32_t height) {
    if (source == nullptr)
        return nullptr;
    if (header_problem(source) != nullptr) {
        SDL_RWclose(source);
        return nullptr;
    }
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
