// From SDL's keys to the virtual-key codes and PC set-1 scan codes that key messages carry.
#pragma once

#include <SDL.h>

#include <cstdint>

uint32_t virtual_key_of(SDL_Keycode key);
// The set-1 scan code; keys sent with the E0 prefix get it with the top bit set, so that they
// do not type what the key of the same low code types (keypad Enter is 156, keypad slash 181).
uint32_t set1_scan_code_of(SDL_Scancode scancode);
