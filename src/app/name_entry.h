// Typing a hi-score name from the keys pressed, in the order they were pressed.
#pragma once

#include <cstdint>

// Types every key pressed since the last pass into the waiting hi-score row.
void name_entry_step();
// A row still being named is saved with the letters typed so far, and the naming ends, as Enter
// would do it: the game is ending, or a new one starting.
void save_named_row();
