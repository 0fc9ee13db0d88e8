// One copy of the game per folder: two would write the same scores.dat and config.dat over
// each other's.
#pragma once

// Takes the folder the game runs in for this process, whatever the player may do in it, and
// removes what saves cut short left there. False when another copy holds it; true when this one
// does, or when the folder takes no lock at all (the game then runs without, and cleans up
// nothing).
bool claim_folder();
