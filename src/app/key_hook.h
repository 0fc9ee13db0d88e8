// Which keys are down, by PC set-1 scan code, while the program is active.
#pragma once

#include <cstdint>

#include "platform/input.h"

extern int32_t key_down[256];
extern HookHandle keyboard_hook;

int32_t key_hook(int32_t code, uint32_t wparam, uint32_t lparam);
void install_key_hook();
void remove_key_hook();
