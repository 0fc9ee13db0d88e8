// One copy of the game per folder: two would write the same scores.dat and config.dat over
// each other's.
#pragma once

// Takes the folder the game runs in for this process. False when another copy holds it; true
// when this one does, or when the folder takes no lock at all (the game then runs without).
bool claim_folder();
