// The text over the main window: the pause, the game's end, a new hi-score's name as it is typed;
// and the watcher's pause over a watched game.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

// The game's overlay colour, and when it last changed.
extern Colour overlay_colour;
extern int64_t overlay_changed_at;

// A new colour at most three times a second: one a frame would strobe, a hazard for players
// sensitive to flashing light. Its values are drawn from the generator only when it changes.
void change_overlay_colour();
// The game's overlay for the state it is in, over what the canvas shows: with `naming`, the row
// being named.
void draw_overlay(Canvas* canvas, bool naming);
// The watcher's pause, in white, over the watched game.
void draw_watcher_pause(Canvas* canvas);
