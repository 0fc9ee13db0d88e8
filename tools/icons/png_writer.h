// Encoding pictures as PNG files: 8-bit RGB, compressed with zlib.
#pragma once

#include <cstdint>
#include <vector>

// rgb: width * height pixels, top row first, three bytes (R, G, B) each.
std::vector<uint8_t> encode_png(int32_t width, int32_t height, const std::vector<uint8_t>& rgb);
