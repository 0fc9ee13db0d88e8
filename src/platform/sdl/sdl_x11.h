// What the SDL platform asks of the X server directly.
#pragma once

#include <SDL.h>

// From now on an X error is reported once on stderr and the game goes on; without this, the
// first failed request (one SDL makes for a window that is partly off the screen, or for a
// frame the window manager has just taken away) ends the process.
void catch_x_errors();
// True when a window manager runs on the window's X display.
bool window_manager_runs(SDL_Window* window);
