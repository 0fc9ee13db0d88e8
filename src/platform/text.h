// Text drawn with the default font.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// Draws length characters at (x, y) with the canvas's text state: colour, background mode and
// alignment (the top of the text at y; left-aligned at x, or centred on x).
void draw_text(Canvas* canvas, int32_t x, int32_t y, const char* text, int32_t length);
