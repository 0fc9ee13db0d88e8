// Encoding pictures as 24-bit uncompressed BMP files, the format the game loads.
#pragma once

#include <cstdint>
#include <vector>

// rgb: width * height pixels, top row first, three bytes (R, G, B) each.
std::vector<uint8_t> encode_bmp(int32_t width, int32_t height, const std::vector<uint8_t>& rgb);
