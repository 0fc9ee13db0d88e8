// The end of the program, when the main window is closed or F12 is pressed.
#pragma once

// Releases everything, saves a hi-score row still being named and the volumes, keeps the game as
// the last one, and ends the process with status 0.
void shut_down();
// The same, ending with the status given: a watched replay that went its own way ends with 1.
void shut_down_with(int status);
