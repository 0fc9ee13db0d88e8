// Which keys are down, by PC set-1 scan code, while the program is active; and the keys pressed
// while a hi-score name is being typed, in the order they went down.
#pragma once

#include <cstdint>

#include "platform/input.h"

extern int32_t key_down[256];
extern HookHandle keyboard_hook;

// A key that went down for the name entry: its scan code and whether a Shift key was down then.
struct KeyPress {
    int32_t scan_code;
    bool shifted;
};

int32_t key_hook(int32_t code, uint32_t wparam, uint32_t lparam);
void install_key_hook();
void remove_key_hook();
// A name is typed only over the game-over picture, never behind a side screen.
bool name_entry_listens();
// The oldest press the name entry has not taken yet; false when there is none.
bool take_key_press(KeyPress* press);
void forget_key_presses();
