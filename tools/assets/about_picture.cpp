// The about page: dim circuit traces on a dark board, with a glowing wave in the text's gap.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "pictures.h"
#include "rng.h"

namespace {

constexpr int32_t grid = 10;
constexpr float wave_y = 275.0f; // between the two blocks of text

void paint_board(Image& image) {
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const float mottle =
                fractal_noise(static_cast<float>(x) / 60.0f, static_cast<float>(y) / 60.0f, 4, 51);
            pixel_at(image, x, y) = mixed(Colour{2, 6, 8}, Colour{5, 16, 18}, mottle);
        }
    }
}

// A trace wanders from a random grid point in straight runs joined by 45 degree bends,
// the way a router lays out a board, and ends in a pad.
void paint_traces(Image& image) {
    Rng rng{0x4E464F0000000001ull};
    const int32_t directions[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                      {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    const Colour copper{10, 52, 48};
    for (int32_t trace = 0; trace < 70; ++trace) {
        float x = static_cast<float>(next_below(rng, picture_size / grid + 1) * grid);
        float y = static_cast<float>(next_below(rng, picture_size / grid + 1) * grid);
        int32_t direction = next_below(rng, 4) * 2; // start along a grid axis
        const float brightness = static_cast<float>(next_range(rng, 0.5, 1.0));
        const Colour colour = scaled(copper, brightness);
        add_disc(image, x, y, 2.5f, colour);
        darken_disc(image, x, y, 1.0f, 0.3f);
        const int32_t runs = 2 + next_below(rng, 4);
        for (int32_t run = 0; run < runs; ++run) {
            const int32_t length = (2 + next_below(rng, 8)) * grid;
            const float nx = x + static_cast<float>(directions[direction][0] * length);
            const float ny = y + static_cast<float>(directions[direction][1] * length);
            add_line(image, x, y, nx, ny, 1.4f, colour);
            x = nx;
            y = ny;
            direction = (direction + (next_below(rng, 2) == 0 ? 1 : 7)) % 8;
        }
        add_disc(image, x, y, 2.8f, scaled(colour, 1.2f));
        darken_disc(image, x, y, 1.2f, 0.3f);
    }
}

// A few chips: dark rectangles with a faint edge and pins.
void paint_chips(Image& image) {
    const int32_t chips[][4] = {{30, 150, 60, 34}, {300, 60, 50, 50}, {250, 190, 70, 28}};
    for (const auto& chip : chips) {
        const float left = static_cast<float>(chip[0]);
        const float top = static_cast<float>(chip[1]);
        const float right = left + static_cast<float>(chip[2]);
        const float bottom = top + static_cast<float>(chip[3]);
        for (int32_t y = chip[1]; y < chip[1] + chip[3]; ++y) {
            for (int32_t x = chip[0]; x < chip[0] + chip[2]; ++x) {
                pixel_at(image, x, y) = Colour{3, 5, 6};
            }
        }
        const Colour edge{14, 34, 34};
        add_line(image, left, top, right, top, 1.0f, edge);
        add_line(image, left, bottom, right, bottom, 1.0f, edge);
        add_line(image, left, top, left, bottom, 1.0f, edge);
        add_line(image, right, top, right, bottom, 1.0f, edge);
        for (float pin = left + 5.0f; pin < right - 2.0f; pin += 6.0f) {
            add_line(image, pin, top - 4.0f, pin, top - 1.0f, 2.0f, {16, 40, 38});
            add_line(image, pin, bottom + 1.0f, pin, bottom + 4.0f, 2.0f, {16, 40, 38});
        }
    }
}

// Three overlaid sine traces, like an oscilloscope, brightest in the middle of the page.
void paint_wave(Image& image) {
    const float pi = 3.14159265f;
    struct Trace {
        float cycles;
        float amplitude;
        float phase;
        Colour colour;
    };
    const Trace traces[] = {{3.0f, 14.0f, 0.0f, {30, 190, 180}},
                            {5.0f, 8.0f, 1.3f, {60, 120, 200}},
                            {1.5f, 18.0f, 2.1f, {20, 110, 90}}};
    for (int32_t y = static_cast<int32_t>(wave_y) - 28; y < static_cast<int32_t>(wave_y) + 28;
         ++y) {
        const float d = (static_cast<float>(y) - wave_y) / 16.0f;
        for (int32_t x = 0; x < image.width; ++x) {
            add_light(image, x, y, {4, 18, 20}, std::exp(-d * d));
        }
    }
    for (const Trace& trace : traces) {
        float previous_y = 0.0f;
        for (int32_t x = 0; x <= picture_size; ++x) {
            const float t = static_cast<float>(x) / picture_size;
            const float envelope = std::sin(pi * t);
            const float y = wave_y + trace.amplitude * envelope *
                                         std::sin(2.0f * pi * trace.cycles * t + trace.phase);
            if (x > 0) {
                const Colour colour = scaled(trace.colour, 0.25f + 0.75f * envelope);
                add_line(image, static_cast<float>(x - 1), previous_y, static_cast<float>(x), y,
                         1.2f, colour);
                add_line(image, static_cast<float>(x - 1), previous_y, static_cast<float>(x), y,
                         5.0f, scaled(colour, 0.12f));
            }
            previous_y = y;
        }
    }
}

} // namespace

Image paint_about_background() {
    Image image = make_image(picture_size, picture_size);
    paint_board(image);
    paint_traces(image);
    paint_chips(image);
    paint_wave(image);
    return image;
}
