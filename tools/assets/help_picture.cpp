// The help page: a synthwave night, a grid floor running off to a horizon under a dim sun.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "pictures.h"
#include "rng.h"

namespace {

constexpr float horizon = 250.0f;
constexpr float centre_x = 200.0f;

void paint_sky(Image& image) {
    const Colour zenith{3, 2, 12};
    const Colour low_sky{26, 8, 36};
    for (int32_t y = 0; y < static_cast<int32_t>(horizon); ++y) {
        const float t = std::pow(static_cast<float>(y) / horizon, 2.2f);
        for (int32_t x = 0; x < image.width; ++x) {
            pixel_at(image, x, y) = mixed(zenith, low_sky, t);
        }
    }
    Rng rng{0x48454C5000000001ull};
    for (int32_t i = 0; i < 140; ++i) {
        const float x = static_cast<float>(next_range(rng, 0.0, picture_size));
        const float y = static_cast<float>(next_range(rng, 0.0, horizon - 40.0f));
        const float brightness = static_cast<float>(0.1 + 0.5 * std::pow(next_unit(rng), 3.0));
        add_glow(image, x, y, 0.6f, scaled(Colour{220, 210, 255}, brightness));
    }
}

// A low striped sun sitting on the horizon, kept dim so text reads over it.
void paint_sun(Image& image) {
    const float cy = horizon - 6.0f;
    const float radius = 70.0f;
    add_glow(image, centre_x, cy, 95.0f, {16, 4, 18});
    for (int32_t y = static_cast<int32_t>(cy - radius); y < static_cast<int32_t>(horizon); ++y) {
        const float fy = static_cast<float>(y);
        const float height = (cy - fy) / radius; // 1 at the top, 0 at the sun's centre line
        // The gaps between stripes widen towards the horizon.
        const float stripe_phase = (cy - fy) * 0.22f;
        const float gap = std::clamp(0.65f - height * 0.9f, 0.0f, 0.6f);
        const float stripe = stripe_phase - std::floor(stripe_phase);
        if (stripe < gap) {
            continue;
        }
        for (int32_t x = static_cast<int32_t>(centre_x - radius - 1);
             x <= static_cast<int32_t>(centre_x + radius + 1); ++x) {
            const float dx = static_cast<float>(x) - centre_x;
            const float dy = fy - cy;
            const float coverage =
                std::clamp(radius + 0.5f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
            if (coverage <= 0.0f) {
                continue;
            }
            const Colour sun = mixed(Colour{58, 30, 10}, Colour{52, 8, 40}, 1.0f - height);
            Colour& target = pixel_at(image, x, y);
            target = mixed(target, sun, coverage);
        }
    }
}

// Height of the mountain ridge above the horizon at column x.
float ridge_height(float x) {
    const float distance_from_sun = std::abs(x - centre_x) / centre_x;
    const float peaks = fractal_noise(x / 55.0f, 3.5f, 4, 31);
    return (8.0f + 60.0f * peaks * peaks) *
           std::clamp(distance_from_sun * 1.4f - 0.25f, 0.0f, 1.0f);
}

void paint_mountains(Image& image) {
    for (int32_t x = 0; x < image.width; ++x) {
        const float ridge = horizon - ridge_height(static_cast<float>(x));
        for (int32_t y = static_cast<int32_t>(ridge); y < static_cast<int32_t>(horizon); ++y) {
            const float depth = (static_cast<float>(y) - ridge) / std::max(horizon - ridge, 1.0f);
            pixel_at(image, x, y) = mixed(Colour{9, 4, 18}, Colour{4, 2, 9}, depth);
        }
    }
    for (int32_t x = 0; x + 1 < image.width; ++x) {
        const float fx = static_cast<float>(x);
        add_line(image, fx, horizon - ridge_height(fx), fx + 1.0f,
                 horizon - ridge_height(fx + 1.0f), 1.0f, {40, 12, 52});
    }
}

void paint_floor(Image& image) {
    for (int32_t y = static_cast<int32_t>(horizon); y < image.height; ++y) {
        const float t = (static_cast<float>(y) - horizon) / (picture_size - horizon);
        for (int32_t x = 0; x < image.width; ++x) {
            pixel_at(image, x, y) = mixed(Colour{10, 3, 16}, Colour{4, 2, 10}, t);
        }
    }
    // Lines across the floor: equal steps in depth, so they crowd together near the horizon.
    const float camera_height = 60.0f;
    for (int32_t step = 1; step < 60; ++step) {
        const float depth = static_cast<float>(step) * 0.35f;
        const float y = horizon + camera_height / depth;
        if (y >= picture_size) {
            continue;
        }
        const float fade = std::clamp((y - horizon) / 150.0f, 0.08f, 1.0f);
        add_line(image, 0.0f, y, picture_size, y, 1.0f, scaled(Colour{70, 20, 90}, fade));
    }
    // Lines along the floor, meeting at the vanishing point on the horizon.
    for (int32_t lane = -16; lane <= 16; ++lane) {
        const float bottom_x = centre_x + static_cast<float>(lane) * 42.0f;
        const float steps = 40.0f;
        for (int32_t i = 0; i < static_cast<int32_t>(steps); ++i) {
            const float t0 = static_cast<float>(i) / steps;
            const float t1 = static_cast<float>(i + 1) / steps;
            const float y0 = horizon + t0 * (picture_size - horizon);
            const float y1 = horizon + t1 * (picture_size - horizon);
            const float x0 = centre_x + (bottom_x - centre_x) * t0;
            const float x1 = centre_x + (bottom_x - centre_x) * t1;
            add_line(image, x0, y0, x1, y1, 1.0f, scaled(Colour{16, 60, 90}, 0.15f + 0.85f * t0));
        }
    }
    // A haze where the floor meets the sky.
    for (int32_t y = static_cast<int32_t>(horizon) - 12; y < static_cast<int32_t>(horizon) + 20;
         ++y) {
        const float d = (static_cast<float>(y) - horizon) / 10.0f;
        for (int32_t x = 0; x < image.width; ++x) {
            add_light(image, x, y, {30, 10, 40}, std::exp(-d * d) * 0.7f);
        }
    }
}

} // namespace

Image paint_help_background() {
    Image image = make_image(picture_size, picture_size);
    paint_sky(image);
    paint_sun(image);
    paint_mountains(image);
    paint_floor(image);
    return image;
}
