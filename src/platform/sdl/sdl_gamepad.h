// Game controllers: their sticks move the pointer, their buttons are told to the game.
#pragma once

// Takes in what the pads did since the last call and moves the pointer with their sticks;
// called each time the message queue looks for new input.
void step_pads();
