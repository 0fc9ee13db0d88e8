// What the help, hi-score and about screens show, and where: their text colours in their
// places, and the colours of the other screens absent.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/image.h"

constexpr Rgb heading_white{255, 255, 255};
constexpr Rgb help_key_green{0, 255, 0};
constexpr Rgb help_text_yellow{255, 255, 0};
constexpr Rgb column_blue{48, 48, 216};
constexpr Rgb row_orange{255, 138, 0};
constexpr Rgb about_amber{229, 162, 0};

// A piece of text expected in a rectangle, in exactly its colour (glyph cores are exact).
struct TextSpot {
    std::string what;
    Rect rect;
    Rgb colour;
    int min_pixels = 8;
    int left_from = -1, left_to = -1; // left-aligned text: where its first pixel may lie
    int centre_x = -1;                // centred text: the middle of its pixels, give or take 6
};

// "" when every spot holds its text; otherwise one line per spot that does not.
std::string check_spots(const Image& view, const std::vector<TextSpot>& spots);
// "" when the colour is nowhere in the rectangle; otherwise how much of it, and where.
std::string check_absent(const Image& view, Rect rect, Rgb colour, const std::string& what);

// Each gives "" when the picture is that screen, otherwise what is wrong with it.
std::string help_screen_problems(const Image& view);
std::string hiscore_screen_problems(const Image& view);
// The hi-score screen's headings alone, for a table whose rows may hold anything.
std::string hiscore_headings_problems(const Image& view);
std::string about_screen_problems(const Image& view);
// The game view: the HUD at the top left and none of the side screens' colours.
std::string game_view_problems(const Image& view);

// The hi-score table's cells: rows 0..4, columns 0 name, 1 level, 2 accuracy, 3 points.
Rect hiscore_cell(int row, int column);
