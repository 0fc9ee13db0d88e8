// Typing a hi-score name from the keys pressed, in the order they were pressed.
#pragma once

#include <cstdint>

// The character of a PC set-1 scan code on a US keyboard, with or without Shift; 1 for none.
char scan_code_to_char(int32_t scan_code, bool shifted);
// Types every key pressed since the last pass into the waiting hi-score row.
void name_entry_step();
// A row still being named is saved with the letters typed so far, and the naming ends, as Enter
// would do it: the game is ending, or a new one starting.
void save_named_row();
