// What SDL does not tell of a native Wayland connection, and what it cannot get out of.
#pragma once

#include <SDL.h>

// The compositor has ended the connection, gone away or refused a request: nothing more can be
// asked of it (SDL would hand a dead connection's null objects on, and fall over). False when
// the window is not on Wayland.
bool wayland_connection_lost(SDL_Window* window);

// SDL's event pump can loop for ever inside libdecor once the compositor has closed the
// connection. For a window on Wayland, a watchman ends the game from outside the loop when the
// game has been inside the pump for a second with the compositor gone or an end asked.
void watch_wayland_pump(SDL_Window* window);
// Where the game comes back from the pump after the watchman ended it: it waits for the end.
void wait_if_ended_elsewhere();
