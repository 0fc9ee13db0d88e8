// What SDL does not tell of a native Wayland connection.
#pragma once

#include <SDL.h>

// The compositor has ended the connection, gone away or refused a request: nothing more can be
// asked of it (SDL would hand a dead connection's null objects on, and fall over). False when
// the window is not on Wayland.
bool wayland_connection_lost(SDL_Window* window);
