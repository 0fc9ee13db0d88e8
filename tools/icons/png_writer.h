// Encoding pictures as PNG files: 8-bit RGB, compressed with zlib.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/canvas.h"

// The whole picture, top row first.
std::vector<uint8_t> encode_png(const Canvas* picture);
