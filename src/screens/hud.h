// The heads-up display in the top-left corner of every game frame.
#pragma once

#include "platform/canvas.h"

void draw_hud(Canvas* back_dc);
