// The hi-score screen: the five rows of the table.
#pragma once

#include "platform/canvas.h"

void draw_hiscore_screen(Canvas* back_dc);
