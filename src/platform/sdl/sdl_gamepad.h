// Game controllers, told to the game as the pointer, the mouse button and keys of the keyboard.
#pragma once

// Takes in what the pads did since the last call and moves the pointer with their sticks;
// called each time the message queue looks for new input.
void step_pads();
