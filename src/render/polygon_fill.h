// Filling polygons of integer corners with one colour: even-odd rule, no outline.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

struct IntPoint {
    int32_t x, y;
};

// Paints every pixel whose centre lies inside the polygon (even-odd rule). Corners may lie
// anywhere within 2^28 pixels of the canvas; what falls outside the canvas is clipped. Allocates
// nothing once its row buffers have grown to the largest canvas and corner count seen.
void fill_polygon(Canvas* canvas, const IntPoint* corners, int32_t corner_count, Colour colour);
