// What the keys type on a US keyboard, by PC set-1 scan code: the one table that names are
// typed from, and that the gamepad types through.
#pragma once

#include <cstdint>

// What no key types.
constexpr char no_char = 1;

// The character of a set-1 scan code, with or without Shift; no_char for none.
char scan_code_to_char(int32_t scan_code, bool shifted);
// The key, and whether Shift is held, that types `c`: the lowest scan code that does, unshifted
// before shifted. False when no key types it.
bool char_to_scan_code(char c, int32_t* scan_code, bool* shifted);
// The virtual-key code of the key at a set-1 scan code that types a character; 0 for none.
uint32_t scan_code_to_virtual_key(int32_t scan_code);
