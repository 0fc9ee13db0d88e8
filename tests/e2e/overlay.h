// The two centred lines the game writes over the view while paused or after the game ends, in
// a colour that changes with every frame.
#pragma once

#include <ostream>
#include <string>

#include "tests/e2e/image.h"

// The band the two lines fall into.
constexpr Rect overlay_band{20, 168, 380, 216};

struct OverlayReading {
    bool present = false;
    Rgb colour;          // the text colour of the first picture
    int changed = 0;     // band pixels that differ between the two pictures
    Extent line1, line2; // the pixels of exactly that colour, by line
};

// Compares two pictures of the view taken a frame or more apart. The text's glyph cores
// share one exact colour, which moves to another colour in the next frame: the most common
// colour among the changed pixels of the band is the text's when the text is there.
OverlayReading read_overlay(const Image& first, const Image& second);

// The overlays, told apart by the width of their first line.
enum class OverlayKind { none, paused, game_over, new_hiscore, unknown };
OverlayKind overlay_kind(const OverlayReading& reading);

std::string describe(const OverlayReading& reading);
const char* name_of(OverlayKind kind);
// How GoogleTest prints a kind in a failed comparison.
void PrintTo(OverlayKind kind, std::ostream* out);
