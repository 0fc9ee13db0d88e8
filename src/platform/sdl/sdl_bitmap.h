// Reading a BMP picture from any SDL source, for the loader and for fuzzing it.
#pragma once

#include <SDL.h>

#include "platform/canvas.h"

// Reads a BMP from source (and closes it) stretched to width x height; null when it is broken.
Canvas* load_bitmap_from(SDL_RWops* source, int32_t width, int32_t height);
