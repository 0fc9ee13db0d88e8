// What the help, hi-score and about screens show, and where: their text colours in their
// places, and the colours of the other screens absent.
#pragma once

#include <string>

#include "tests/e2e/image.h"

// The colour of the hi-score table's rows.
constexpr Rgb row_orange{255, 138, 0};

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
