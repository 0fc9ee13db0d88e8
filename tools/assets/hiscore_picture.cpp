// The hi-score page: warm rays rising from a glowing trophy outline at the bottom.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "noise.h"
#include "pictures.h"
#include "rng.h"

namespace {

constexpr float trophy_x = 200.0f;
constexpr float burst_y = 300.0f; // the rays spread from the cup's mouth

void paint_rays(Image& image) {
    const float pi = 3.14159265f;
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const float dx = static_cast<float>(x) - trophy_x;
            const float dy = static_cast<float>(y) - burst_y;
            const float distance = std::sqrt(dx * dx + dy * dy);
            const float angle = std::atan2(dy, dx);
            // 18 rays; every other one is fainter.
            const float wide = std::pow(0.5f + 0.5f * std::cos(angle * 18.0f), 3.0f);
            const float narrow = std::pow(0.5f + 0.5f * std::cos(angle * 9.0f + pi), 8.0f);
            const float rays = 0.6f * wide + 0.4f * narrow;
            const float falloff = std::exp(-distance / 200.0f);
            const float grain =
                fractal_noise(static_cast<float>(x) / 40.0f, static_cast<float>(y) / 40.0f, 3, 41);
            Colour colour = mixed(Colour{8, 4, 3}, Colour{3, 2, 4},
                                  static_cast<float>(y) / static_cast<float>(image.height));
            colour = mixed(colour, Colour{70, 44, 10}, rays * falloff * (0.7f + 0.3f * grain));
            colour = mixed(colour, Colour{40, 22, 6}, 0.5f * std::exp(-distance / 60.0f));
            pixel_at(image, x, y) = colour;
        }
    }
}

// Draws a polyline mirrored about the trophy's axis; points are offsets from (trophy_x, 0).
void add_symmetric_outline(Image& image, const float (*points)[2], int32_t count, Colour colour) {
    for (int32_t side = -1; side <= 1; side += 2) {
        for (int32_t i = 0; i + 1 < count; ++i) {
            add_line(image, trophy_x + static_cast<float>(side) * points[i][0], points[i][1],
                     trophy_x + static_cast<float>(side) * points[i + 1][0], points[i + 1][1], 1.6f,
                     colour);
        }
    }
}

void paint_trophy(Image& image) {
    const Colour gold{150, 110, 36};
    // The cup: from the rim down the bowl to the stem, foot and plinth.
    const float cup[][2] = {{0, 302},  {34, 302}, {33, 318}, {29, 334}, {21, 347},
                            {10, 354}, {6, 358},  {6, 368},  {14, 372}, {20, 376},
                            {20, 382}, {30, 382}, {30, 392}, {0, 392}};
    const float handle[][2] = {{33, 308}, {44, 308}, {50, 314}, {48, 326}, {38, 336}, {28, 340}};
    add_glow(image, trophy_x, 335.0f, 40.0f, {26, 16, 4});
    // A slightly darker inside keeps the outline crisp against the burst.
    for (int32_t y = 303; y < 392; ++y) {
        for (int32_t x = 170; x < 231; ++x) {
            Colour& target = pixel_at(image, x, y);
            target = scaled(target, 0.75f);
        }
    }
    add_symmetric_outline(image, cup, static_cast<int32_t>(std::size(cup)), gold);
    add_symmetric_outline(image, handle, static_cast<int32_t>(std::size(handle)), gold);
    add_line(image, trophy_x - 34, 302, trophy_x + 34, 302, 1.6f, gold);
    // A star on the bowl.
    const float pi = 3.14159265f;
    for (int32_t i = 0; i < 5; ++i) {
        const float a0 = -pi / 2 + static_cast<float>(i) * 4.0f * pi / 5.0f;
        const float a1 = a0 + 4.0f * pi / 5.0f;
        add_line(image, trophy_x + 9 * std::cos(a0), 324 + 9 * std::sin(a0),
                 trophy_x + 9 * std::cos(a1), 324 + 9 * std::sin(a1), 1.2f, scaled(gold, 0.8f));
    }
}

// Sparkles scattered around the burst, fewer and fainter where the table is printed.
void paint_sparkles(Image& image) {
    Rng rng{0x4849534300000001ull};
    for (int32_t i = 0; i < 60; ++i) {
        const float x = static_cast<float>(next_range(rng, 0.0, picture_size));
        const float y = static_cast<float>(next_range(rng, 220.0, picture_size));
        const float brightness = static_cast<float>(next_range(rng, 0.15, 0.6));
        const Colour tint = scaled(Colour{255, 210, 120}, brightness);
        add_glow(image, x, y, 0.7f, tint);
        const float arm = 2.0f + 4.0f * brightness;
        add_line(image, x - arm, y, x + arm, y, 0.5f, scaled(tint, 0.3f));
        add_line(image, x, y - arm, x, y + arm, 0.5f, scaled(tint, 0.3f));
    }
}

} // namespace

Image paint_hiscore_background() {
    Image image = make_image(picture_size, picture_size);
    paint_rays(image);
    paint_sparkles(image);
    paint_trophy(image);
    return image;
}
