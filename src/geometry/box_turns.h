// A box's fourteen points, turned, placed and projected four at a time where the processor has
// AVX.
#pragma once

#include "geometry/object3d.h"

struct Eye;

// The cosines and sines of the turns about z, x and y.
struct BoxTurns {
    double zc, zs, xc, xs, yc, ys;
};

// Turns a box's eight model corners and six model centres about z, then x, then y; stores each
// face's depth, the mean z of its turned corners; moves every point by the position; and, given
// an eye, projects the corners. Every face is given its corners; the draw order is left to the
// caller. Each turn's results are rounded to float before the next, with the products and sums
// of one point's turns, so every figure comes out bit for bit as the single steps give it. Only
// for processors with AVX.
void transform_box_avx(Object3D& obj, const BoxTurns& turns, const Eye* eye);
