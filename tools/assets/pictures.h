// The four backgrounds of the game, each 400 x 400: the playfield and the three menu pages.
#pragma once

#include <cstdint>

#include "image.h"

constexpr int32_t picture_size = 400;

// Deep space behind the playfield; dark where the score is printed (top left).
Image paint_space_background();
// The help page: a night grid running to a horizon under a dim striped sun.
Image paint_help_background();
// The hi-score table: warm rays rising from a trophy at the bottom.
Image paint_hiscore_background();
// The about page: dim circuit traces with an oscilloscope wave across the gap in the text.
Image paint_about_background();
