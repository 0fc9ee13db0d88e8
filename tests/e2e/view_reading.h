// Reading the game view as a player sees it: the HUD, the red targets and the green aim line.
#pragma once

#include <vector>

#include "tests/e2e/image.h"

constexpr int view_width = 400;
constexpr int view_height = 400;
constexpr Rect whole_view{0, 0, view_width, view_height};

// Text cores are drawn in exactly these colours.
constexpr Rgb hud_label_green{0, 255, 0};
constexpr Rgb hud_value_yellow{255, 255, 0};

// HUD rows: 0 points, 1 accuracy, 2 level, 3 hits to the next level.
Rect hud_label_rect(int row);
Rect hud_value_rect(int row);
// All four labels and all four values are there.
bool hud_shown(const Image& view);
// Where the value of a HUD row is drawn (its exactly yellow pixels).
Extent hud_value(const Image& view, int row);

// A connected patch of target-red pixels: red and nothing else, green and blue both zero after
// the shading.
struct Blob {
    int pixels = 0;
    double x = 0, y = 0; // centre, in view pixels
    Rect box;
};
// Red patches big enough to be a target rather than a spark of an explosion.
std::vector<Blob> find_red_blobs(const Image& view);

// Pixels of the aim line (pure green cubes, shaded darker with distance) in a rectangle,
// leaving out the HUD's labels.
int count_aim_line(const Image& view, Rect rect);
// Where the aim line shows for a pointer position, with a margin for the cubes' size.
Rect aim_line_region(int mouse_x, int mouse_y);
