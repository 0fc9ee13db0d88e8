// The about screen: why and how the game was made, and credits.
#pragma once

#include "platform/canvas.h"

void draw_about_screen(Canvas* back_dc);
