// zarnok_icons: the game's icon at the sizes the desktop's icon theme asks for, drawn by the
// game's own renderer as the window icon is, written as FOLDER/<size>x<size>/apps/zarnok3d.png,
// the same drawing as FOLDER/scalable/apps/zarnok3d.svg, and all the sizes together as
// FOLDER/zarnok3d.ico, Windows' icon of the program.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../assets/file_output.h"
#include "ico_writer.h"
#include "png_writer.h"
#include "render/window_icon.h"
#include "svg_writer.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zarnok_icons FOLDER SIZE...\n");
        return 2;
    }
    std::vector<IconImage> images;
    for (int i = 2; i < argc; ++i) {
        Canvas* icon = draw_window_icon(std::atoi(argv[i]));
        images.push_back({icon->width, encode_png(icon)});
        free_canvas(icon);
        const std::string folder = std::string(argv[1]) + "/" + argv[i] + "x" + argv[i] + "/apps";
        std::filesystem::create_directories(folder);
        if (!write_file(folder + "/zarnok3d.png", images.back().png))
            return 1;
    }
    if (!write_file(std::string(argv[1]) + "/zarnok3d.ico", encode_ico(images)))
        return 1;
    const std::string scalable = std::string(argv[1]) + "/scalable/apps";
    std::filesystem::create_directories(scalable);
    const std::string svg = icon_svg();
    return write_file(scalable + "/zarnok3d.svg", std::vector<uint8_t>(svg.begin(), svg.end())) ? 0
                                                                                                : 1;
}
