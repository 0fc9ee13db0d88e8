// Pictures loaded from BMP files.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// Loads a BMP file stretched to width x height; null when the file is missing or broken.
Canvas* load_bitmap(const char* path, int32_t width, int32_t height);
void delete_bitmap(Canvas* bitmap);
