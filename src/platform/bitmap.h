// Pictures loaded from BMP files.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// Our pictures are backgrounds of a few hundred pixels, shown at 400 x 400; one with a longer
// side is refused, so that all the game's files at their largest fit in 150 MB at once.
constexpr int32_t largest_picture_side = 2048;

// Loads a BMP file stretched to width x height; null when the file is missing or broken.
Canvas* load_bitmap(const char* path, int32_t width, int32_t height);
void delete_bitmap(Canvas* bitmap);
