// A floating-point RGB picture (0..255 a channel) and the brushes our backgrounds paint with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rng.h"

struct Colour {
    float r;
    float g;
    float b;
};

struct Image {
    int32_t width;
    int32_t height;
    std::vector<Colour> pixels; // row by row from the top
};

Image make_image(int32_t width, int32_t height);

inline Colour& pixel_at(Image& image, int32_t x, int32_t y) {
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}
inline const Colour& pixel_at(const Image& image, int32_t x, int32_t y) {
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}

Colour scaled(Colour colour, float factor);
Colour mixed(Colour a, Colour b, float t);
// Rec. 601 luma, the same weighting the tests use to judge text contrast.
float luminance(Colour colour);

// Adds colour * amount to one pixel; pixels outside the picture are ignored.
void add_light(Image& image, int32_t x, int32_t y, Colour colour, float amount);
// A soft round light: colour * exp(-(distance / radius)^2).
void add_glow(Image& image, float cx, float cy, float radius, Colour colour);
// An anti-aliased line of the given width, added to what is there.
void add_line(Image& image, float x0, float y0, float x1, float y1, float width, Colour colour);
// An anti-aliased filled disc, added to what is there.
void add_disc(Image& image, float cx, float cy, float radius, Colour colour);
// Multiplies everything inside an anti-aliased disc, for dark silhouettes.
void darken_disc(Image& image, float cx, float cy, float radius, float factor);

// Rounds to 8 bits a channel, top row first, R G B order. The dither hides banding in the dark
// gradients, which would otherwise show as steps of one level.
std::vector<uint8_t> to_rgb8(const Image& image, Rng& dither);
