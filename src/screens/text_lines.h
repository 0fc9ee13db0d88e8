// Small helpers for the screens' text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/canvas.h"
#include "platform/text.h"

inline void draw_string(Canvas* canvas, int32_t x, int32_t y, const char* text) {
    draw_text(canvas, x, y, text, static_cast<int32_t>(std::strlen(text)));
}

// A side screen's heading: a grey copy one pixel up and left, then white, centred on x.
inline void draw_heading(Canvas* canvas, int32_t width, const char* text) {
    canvas->align = TextAlign::centre_top;
    canvas->text_colour = rgb(155, 155, 155);
    draw_string(canvas, width / 2 - 1, 9, text);
    canvas->text_colour = rgb(255, 255, 255);
    draw_string(canvas, width / 2, 10, text);
}

// A side screen starts from its background picture, with transparent text.
void begin_side_screen(Canvas* back_dc);
