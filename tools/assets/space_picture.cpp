// The playfield background: a dark starfield with a soft nebula and a distant planet.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "pictures.h"
#include "rng.h"

namespace {

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// 1 inside the score corner (top left), fading to 0 away from it.
float score_corner(float x, float y) {
    const float dx = std::max(x - 200.0f, 0.0f);
    const float dy = std::max(y - 80.0f, 0.0f);
    return 1.0f - smoothstep(0.0f, 60.0f, std::sqrt(dx * dx + dy * dy));
}

void paint_sky(Image& image) {
    const Colour top{2, 3, 10};
    const Colour bottom{7, 9, 26};
    const Colour violet{52, 26, 96};
    const Colour teal{14, 62, 96};
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            Colour colour = mixed(top, bottom, fy / static_cast<float>(image.height));
            // The nebula drifts along a diagonal band from the lower left to the upper right.
            const float band_distance = (fy - (330.0f - 0.55f * fx)) / 120.0f;
            const float band = std::exp(-band_distance * band_distance);
            const float cloud = fractal_noise(fx / 90.0f, fy / 90.0f, 6, 11);
            const float tint = fractal_noise(fx / 150.0f + 40.0f, fy / 150.0f, 3, 12);
            const float density = smoothstep(0.35f, 0.8f, cloud) * band;
            const float dust = fractal_noise(fx / 18.0f, fy / 18.0f, 3, 13);
            const float strength =
                density * (0.35f + 0.25f * dust) * (1.0f - 0.85f * score_corner(fx, fy));
            colour = mixed(colour, mixed(violet, teal, tint), strength);
            pixel_at(image, x, y) = colour;
        }
    }
}

// A dim planet high on the right, lit from the upper left with a thin bright rim.
void paint_planet(Image& image) {
    const float cx = 335.0f;
    const float cy = 120.0f;
    const float radius = 30.0f;
    add_glow(image, cx, cy, radius * 1.4f, {4, 8, 18});
    for (int32_t y = static_cast<int32_t>(cy - radius - 2); y <= cy + radius + 2; ++y) {
        for (int32_t x = static_cast<int32_t>(cx - radius - 2); x <= cx + radius + 2; ++x) {
            const float dx = (static_cast<float>(x) - cx) / radius;
            const float dy = (static_cast<float>(y) - cy) / radius;
            const float r2 = dx * dx + dy * dy;
            const float coverage = std::clamp((1.0f - std::sqrt(r2)) * radius + 0.5f, 0.0f, 1.0f);
            if (coverage <= 0.0f) {
                continue;
            }
            const float dz = std::sqrt(std::max(1.0f - r2, 0.0f));
            // Light from the upper left, so the lit crescent faces the nebula.
            const float light = std::max(-0.6f * dx - 0.5f * dy + 0.62f * dz, 0.0f);
            const float bands = fractal_noise(dx * 1.5f, dy * 9.0f, 3, 21);
            Colour surface = mixed(Colour{10, 16, 30}, Colour{38, 58, 84}, bands);
            surface = scaled(surface, 0.15f + 0.85f * light);
            const float rim = std::pow(1.0f - dz, 4.0f) * light;
            surface = mixed(surface, Colour{90, 140, 180}, std::clamp(rim * 1.5f, 0.0f, 1.0f));
            Colour& target = pixel_at(image, x, y);
            target = mixed(target, surface, coverage);
        }
    }
}

void paint_stars(Image& image) {
    Rng rng{0x5741525300000001ull};
    const Colour tints[] = {{200, 215, 255}, {235, 240, 255}, {255, 250, 235}, {255, 236, 200}};
    for (int32_t i = 0; i < 420; ++i) {
        const float x = static_cast<float>(next_range(rng, 0.0, picture_size));
        const float y = static_cast<float>(next_range(rng, 0.0, picture_size));
        const Colour tint = tints[next_below(rng, 4)];
        // Most stars are faint; a handful are bright.
        float brightness = static_cast<float>(0.08 + 0.92 * std::pow(next_unit(rng), 5.0));
        const float corner = score_corner(x, y);
        brightness *= 1.0f - 0.7f * corner;
        add_glow(image, x, y, 0.55f + 0.5f * brightness, scaled(tint, brightness));
        if (brightness > 0.55f) {
            add_glow(image, x, y, 4.0f, scaled(tint, 0.08f * brightness));
            const float arm = 7.0f * brightness;
            const Colour ray = scaled(tint, 0.12f * brightness);
            add_line(image, x - arm, y, x + arm, y, 0.6f, ray);
            add_line(image, x, y - arm, x, y + arm, 0.6f, ray);
        }
    }
}

} // namespace

Image paint_space_background() {
    Image image = make_image(picture_size, picture_size);
    paint_sky(image);
    paint_stars(image);
    paint_planet(image);
    return image;
}
