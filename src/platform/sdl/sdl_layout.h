// The arithmetic of showing views in windows: whole-number scales, where a view lies in a window
// of any size, and what part of a rectangle the monitors show.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/whole_numbers.h"
#include "platform/window_picture.h"

// The largest whole number that keeps a view of `view_height` within half the monitor's height.
int32_t scale_for_monitor(int32_t monitor_height, int32_t view_height);
// A window of exactly the views' size at `natural` scale shows them so, `beside` (a second view,
// 0 x 0 for none) at the left of `view`, tops level. A window of any other size (tiled, maximised,
// the full screen) shows `view` centred at the largest whole scale that fits, leaving room for
// `beside` in the margin at its left.
ViewPlace lay_out(SDL_Point window, SDL_Point view, SDL_Point beside, int32_t natural);
// The smallest rectangle holding every part of `rect` that lies on one of the monitors; false
// when no part does.
bool part_on_monitors(const SDL_Rect& rect, const SDL_Rect* monitors, int count, SDL_Rect* part);
