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

// Where the pixels of one kind lie within a rectangle.
struct Extent {
    int count = 0;
    int left = 0, top = 0, right = 0, bottom = 0; // inclusive bounds; meaningful when count > 0
};

// Reads a binary PPM (P6) of 8 or 16 bits a sample.
bool parse_ppm(const std::string& bytes, Image* image);

Rgb pixel_at(const Image& image, int x, int y);
Image crop(const Image& image, Rect rect);

// Counts the pixels of exactly this colour.
int count_colour(const Image& image, Rect rect, Rgb colour);

template <typename Test> Extent extent_where(const Image& image, Rect rect, Test test) {
    Extent extent;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            if (x < 0 || y < 0 || x >= image.width || y >= image.height ||
                !test(pixel_at(image, x, y)))
                continue;
            if (extent.count == 0) {
                extent = {1, x, y, x, y};
                continue;
            }
            ++extent.count;
            extent.left = x < extent.left ? x : extent.left;
            extent.right = x > extent.right ? x : extent.right;
            extent.top = y < extent.top ? y : extent.top;
            extent.bottom = y > extent.bottom ? y : extent.bottom;
        }
    return extent;
}

Extent extent_of_colour(const Image& image, Rect rect, Rgb colour);

// The number of pixels that differ between two pictures of the same size within the rectangle.
int count_differences(const Image& a, const Image& b, Rect rect);

// Writes the picture as PNG (through ImageMagick's convert).
bool save_png(const Image& image, const std::string& path);

std::string to_string(Rgb colour);
