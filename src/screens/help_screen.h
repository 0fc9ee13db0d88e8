// The help screen: the keys and the two volumes.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// A volume of 0..255 as a whole percentage, rounded down.
int32_t volume_percent(int32_t volume);
void draw_help_screen(Canvas* back_dc);
