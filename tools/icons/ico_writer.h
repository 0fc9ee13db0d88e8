// Windows' icon file: the same pictures, each a PNG, in one .ico for the program's resources.
#pragma once

#include <cstdint>
#include <vector>

struct IconImage {
    int32_t size; // width and height, up to 256
    std::vector<uint8_t> png;
};

std::vector<uint8_t> encode_ico(const std::vector<IconImage>& images);
