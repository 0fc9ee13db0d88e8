// zarnok_icons: the game's icon at the sizes the desktop's icon theme asks for, drawn by the
// game's own renderer as the window icon is, written as FOLDER/<size>x<size>/apps/zarnok3d.png.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../assets/file_output.h"
#include "png_writer.h"
#include "render/window_icon.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zarnok_icons FOLDER SIZE...\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int32_t size = std::atoi(argv[i]);
        Canvas* icon = draw_window_icon(size);
        std::vector<uint8_t> rgb;
        for (int32_t y = 0; y < size; ++y)
            for (int32_t x = 0; x < size; ++x) {
                const Colour colour = colour_of_pixel(icon->pixels[y * icon->pitch + x]);
                rgb.insert(rgb.end(), {static_cast<uint8_t>(red_of(colour)),
                                       static_cast<uint8_t>(green_of(colour)),
                                       static_cast<uint8_t>(blue_of(colour))});
            }
        free_canvas(icon);
        const std::string folder = std::string(argv[1]) + "/" + argv[i] + "x" + argv[i] + "/apps";
        std::filesystem::create_directories(folder);
        if (!write_file(folder + "/zarnok3d.png", encode_png(size, size, rgb)))
            return 1;
    }
    return 0;
}
