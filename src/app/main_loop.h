// The main loop: messages first; while the program is active, ticks and frames in between, each
// frame shown as its pass ends.
#pragma once

// Start-up, then the loop; the exit status when a quit message ends the loop.
int entry_routine();
// One pass of the work done whenever no message is waiting.
void idle_work();
