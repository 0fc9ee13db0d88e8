// The floor of the main view: bars that never move, under a light that never moves.
#pragma once

#include <cstdint>

// Turns, shades and paints the floor bars once, onto a layer of their own.
void prepare_floor();
// The first of the rows at the bottom of the view that the floor covers from side to side.
int32_t floor_covers_from();
// Copies the pixels the floor covers from its layer, as painting the bars again would leave them.
void draw_floor();
// Lets the layer go with the bars it was painted from.
void forget_floor();
