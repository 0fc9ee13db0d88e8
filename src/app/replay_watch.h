// Watching a recorded game in the game's windows, at its own speed or as fast as it goes.
#pragma once

#include <cstdint>

#include "store/replay_file.h"

// Plays the record from the game's first frame to its end, with F11, P, the volume keys and F12
// the watcher's own, and says on stdout how it ended; writes no file. Ends the process with
// status 0 when the game ended as recorded (or the watcher stopped it), 1 when it did not (what
// differed said on stderr); the status is returned where the process goes on (in tests).
int watch_replay(const Replay& replay, bool fast);
