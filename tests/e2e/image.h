// Pictures taken from the screen: 8-bit RGB pixels, rectangles and colour queries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // rows top to bottom, three bytes a pixel
};

// Half-open: left <= x < right, top <= y < bottom.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Where the pixels of one colour lie within a rectangle.
struct Extent {
    int count = 0;
    int left = 0, top = 0, right = 0, bottom = 0; // inclusive bounds; meaningful when count > 0
};

// Reads a binary PPM (P6) of 8 bits a sample.
bool parse_ppm(const std::string& bytes, Image* image);

Rgb pixel_at(const Image& image, int x, int y);
// Pixels outside the picture do not count.
Extent extent_of_colour(const Image& image, Rect rect, Rgb colour);
int count_colour(const Image& image, Rect rect, Rgb colour);
// Which pixels of the rectangle, row by row, are exactly of the colour.
std::vector<bool> colour_mask(const Image& image, Rect rect, Rgb colour);
// The number of pixels that differ between two pictures of the same size within the rectangle.
int count_differences(const Image& a, const Image& b, Rect rect);
bool overlap(Rect a, Rect b);
int width_of(const Extent& e);

// Writes the picture as PNG (through ImageMagick's convert).
bool save_png(const Image& image, const std::string& path);

std::string to_string(Rgb colour);
