// Game controllers, told to the game as the pointer, the mouse button and keys of the keyboard.
#pragma once

#include <SDL.h>

// The mouse a pad's clicks come from: they are taken where the pad aims, not where the pointer is.
constexpr Uint32 pad_mouse_id = 0x7061;

// Takes in what the pads did since the last call and moves the pointer with their sticks;
// called each time the message queue looks for new input.
void step_pads();
