// The game's icon for its windows: one of its red cubes, drawn by its own renderer.
#pragma once

#include "platform/canvas.h"

// A new 64 x 64 picture, the caller's to free.
Canvas* draw_window_icon();
