// The end of the program, when the main window is closed or F12 is pressed.
#pragma once

// Releases everything, saves a hi-score row still being named and the volumes, and ends the
// process with status 0.
void shut_down();
