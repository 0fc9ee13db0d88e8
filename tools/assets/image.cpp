// A floating-point RGB picture and the brushes our backgrounds paint with.
#include "image.h"

#include <algorithm>
#include <cmath>

Image make_image(int32_t width, int32_t height) {
    return Image{width, height,
                 std::vector<Colour>(static_cast<size_t>(width) * height, {0, 0, 0})};
}

Colour scaled(Colour colour, float factor) {
    return {colour.r * factor, colour.g * factor, colour.b * factor};
}

Colour mixed(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float luminance(Colour colour) {
    return 0.299f * colour.r + 0.587f * colour.g + 0.114f * colour.b;
}

void add_light(Image& image, int32_t x, int32_t y, Colour colour, float amount) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    Colour& target = pixel_at(image, x, y);
    target.r += colour.r * amount;
    target.g += colour.g * amount;
    target.b += colour.b * amount;
}

void add_glow(Image& image, float cx, float cy, float radius, Colour colour) {
    const int32_t reach = static_cast<int32_t>(std::ceil(radius * 3.0f));
    const int32_t x_centre = static_cast<int32_t>(std::lround(cx));
    const int32_t y_centre = static_cast<int32_t>(std::lround(cy));
    for (int32_t y = y_centre - reach; y <= y_centre + reach; ++y) {
        for (int32_t x = x_centre - reach; x <= x_centre + reach; ++x) {
            const float dx = (static_cast<float>(x) - cx) / radius;
            const float dy = (static_cast<float>(y) - cy) / radius;
            add_light(image, x, y, colour, std::exp(-(dx * dx + dy * dy)));
        }
    }
}

namespace {

float distance_to_segment(float px, float py, float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float length_squared = dx * dx + dy * dy;
    float t = 0.0f;
    if (length_squared > 0.0f) {
        t = std::clamp(((px - x0) * dx + (py - y0) * dy) / length_squared, 0.0f, 1.0f);
    }
    const float ex = px - (x0 + t * dx);
    const float ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

void add_line(Image& image, float x0, float y0, float x1, float y1, float width, Colour colour) {
    const float half = width * 0.5f;
    const int32_t left = static_cast<int32_t>(std::floor(std::min(x0, x1) - half - 1.0f));
    const int32_t right = static_cast<int32_t>(std::ceil(std::max(x0, x1) + half + 1.0f));
    const int32_t top = static_cast<int32_t>(std::floor(std::min(y0, y1) - half - 1.0f));
    const int32_t bottom = static_cast<int32_t>(std::ceil(std::max(y0, y1) + half + 1.0f));
    for (int32_t y = std::max(top, 0); y <= std::min(bottom, image.height - 1); ++y) {
        for (int32_t x = std::max(left, 0); x <= std::min(right, image.width - 1); ++x) {
            const float distance =
                distance_to_segment(static_cast<float>(x), static_cast<float>(y), x0, y0, x1, y1);
            const float coverage = std::clamp(half + 0.5f - distance, 0.0f, 1.0f);
            if (coverage > 0.0f) {
                add_light(image, x, y, colour, coverage);
            }
        }
    }
}

namespace {

// Coverage of pixel (x, y) by a disc, with a one-pixel soft edge.
float disc_coverage(int32_t x, int32_t y, float cx, float cy, float radius) {
    const float dx = static_cast<float>(x) - cx;
    const float dy = static_cast<float>(y) - cy;
    return std::clamp(radius + 0.5f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
}

} // namespace

void add_disc(Image& image, float cx, float cy, float radius, Colour colour) {
    const int32_t reach = static_cast<int32_t>(std::ceil(radius + 1.0f));
    const int32_t x_centre = static_cast<int32_t>(std::lround(cx));
    const int32_t y_centre = static_cast<int32_t>(std::lround(cy));
    for (int32_t y = y_centre - reach; y <= y_centre + reach; ++y) {
        for (int32_t x = x_centre - reach; x <= x_centre + reach; ++x) {
            add_light(image, x, y, colour, disc_coverage(x, y, cx, cy, radius));
        }
    }
}

void darken_disc(Image& image, float cx, float cy, float radius, float factor) {
    const int32_t reach = static_cast<int32_t>(std::ceil(radius + 1.0f));
    const int32_t x_centre = static_cast<int32_t>(std::lround(cx));
    const int32_t y_centre = static_cast<int32_t>(std::lround(cy));
    for (int32_t y = std::max(y_centre - reach, 0);
         y <= std::min(y_centre + reach, image.height - 1); ++y) {
        for (int32_t x = std::max(x_centre - reach, 0);
             x <= std::min(x_centre + reach, image.width - 1); ++x) {
            const float coverage = disc_coverage(x, y, cx, cy, radius);
            pixel_at(image, x, y) =
                scaled(pixel_at(image, x, y), 1.0f - coverage * (1.0f - factor));
        }
    }
}

std::vector<uint8_t> to_rgb8(const Image& image, Rng& dither) {
    std::vector<uint8_t> bytes;
    bytes.reserve(image.pixels.size() * 3);
    for (const Colour& colour : image.pixels) {
        for (const float channel : {colour.r, colour.g, colour.b}) {
            const float noisy = channel + static_cast<float>(next_unit(dither)) - 0.5f;
            bytes.push_back(static_cast<uint8_t>(std::clamp(std::lround(noisy), 0L, 255L)));
        }
    }
    return bytes;
}
