// The SDL platform's message queue, for the window code's own news.
#pragma once

#include <SDL.h>

#include "platform/window.h"

// A recorded game is being watched (set_watching).
bool watching_only();

// Since when (SDL's milliseconds) the game has been inside SDL's event pump, 0 when it is not.
Uint64 pumping_since();
