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
// Paints quads in turn as fill_polygon would, quad order[n] in colours[n]: its corners are
// points[quads[order[n]][k]], every one of the points a corner of some quad. Quicker than quad by
// quad when they are small and share their corners, as a box's faces do.
void fill_quads(Canvas* canvas, const IntPoint* points, int32_t point_count,
                const int8_t (*quads)[4], const int32_t* order, const Colour* colours,
                int32_t count);
