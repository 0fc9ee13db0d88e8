// The game's icon for its windows and the desktop: one of its red cubes, drawn by its own
// renderer.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// A new size x size picture, the caller's to free; the windows take it at 64.
Canvas* draw_window_icon(int32_t size = 64);
