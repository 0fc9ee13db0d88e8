// The main loop: messages first; while the program is active, ticks and frames in between.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// The overlay text's colour, and when it last changed.
extern Colour overlay_colour;
extern int64_t overlay_changed_at;

// Start-up, then the loop; the exit status when a quit message ends the loop.
int entry_routine();
// One pass of the work done whenever no message is waiting.
void idle_work();
// The pause, game-over or new-hi-score text over the main window.
void draw_overlay();
