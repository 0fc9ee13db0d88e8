// Reading the game view as a player sees it: the HUD, the red targets, the green aim line and
// the white shots.
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

// A connected patch of target-red pixels.
struct Blob {
    int pixels = 0;
    double x = 0, y = 0; // centre, in view pixels
    Rect box;
};

// Targets are red and nothing else: green and blue are both zero after the shading.
bool is_target_red(Rgb p);
// Red patches big enough to be a target rather than a spark of an explosion.
std::vector<Blob> find_red_blobs(const Image& view);

// The aim line's cubes are pure green, shaded darker with distance.
bool is_aim_green(Rgb p);
// Pixels of the aim line in a rectangle, leaving out the HUD's labels.
int count_aim_line(const Image& view, Rect rect);
// Where the aim line shows for a pointer position, with a margin for the cubes' size.
Rect aim_line_region(int mouse_x, int mouse_y);

// Light grey pixels (shots are grey-white, equal in all channels) that the background
// picture does not have at the same place.
int count_shot_pixels(const Image& view, const Image& background, Rect rect);

// A square of the given half size around a point.
Rect around(int x, int y, int half);
