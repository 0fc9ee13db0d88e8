// The end of the program, when the main window is closed or F12 is pressed.
#pragma once

// Releases everything, saves the volumes and ends the process with status 0.
void shut_down();
