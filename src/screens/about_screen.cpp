// The about screen over nfobg.bmp. It leaves amber, transparent, left/top text set.
#include "screens/about_screen.h"

#include "screens/text_lines.h"
#include "world/state.h"

namespace {

constexpr const char* body_lines[15] = {
    "    Zarnok 3D was made for the joy of a small game",
    "that draws every box itself: no 3D card, no engine,",
    "just arithmetic. Red cubes fall, you shoot them, and",
    "the first one to slip past ends the round. Short",
    "games, one more try, and a name on the table.",
    "    Each cube is six flat faces, turned, ordered far",
    "to near and projected with the game's own maths,",
    "then filled as polygons that darken with distance.",
    "All of it is drawn into buffers in memory and copied",
    "to the window once a frame, while the game itself",
    "moves on in fixed ticks of ten milliseconds.",
    "    The pictures behind these screens, like the sounds",
    "and the music, are computed by a small generator",
    "that comes with the game: stars, grids and glows",
    "worked out pixel by pixel, no paint program used.",
};

constexpr const char* credit_lines[6] = {
    "Zarnok 3D v" ZARNOK_VERSION ", written in C++ on SDL2",
    "    --> https://www.libsdl.org",
    "    --> https://github.com/libsdl-org/SDL",
    "    --> https://github.com/libsdl-org/SDL_ttf",
    "Sound and music: SDL2_mixer, modules via libmodplug",
    "    --> https://github.com/libsdl-org/SDL_mixer",
};

} // namespace

void draw_about_screen(Canvas* back_dc) {
    const View& view = views[main_view];
    begin_side_screen(back_dc);
    draw_heading(back_dc, view.width, "Zarnok3D v" ZARNOK_VERSION);

    back_dc->align = TextAlign::left_top;
    back_dc->text_colour = rgb(229, 162, 0);
    for (int32_t i = 0; i < 15; ++i)
        draw_string(back_dc, 10, 35 + 15 * i, body_lines[i]);
    for (int32_t i = 0; i < 6; ++i)
        draw_string(back_dc, 10, view.height - 95 + 15 * i, credit_lines[i]);
}
