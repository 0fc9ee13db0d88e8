// What the SDL platform asks of the X server directly.
#pragma once

#include <SDL.h>

// From now on an X error is reported once on stderr and the game goes on; without this, the
// first failed request (one SDL makes for a window that is partly off the screen, or for a
// frame the window manager has just taken away) ends the process.
void catch_x_errors();
enum class X11Desktop { other, bare, managed };
// Whether the window is on an X display, and whether a window manager runs there.
X11Desktop x11_desktop(SDL_Window* window);
