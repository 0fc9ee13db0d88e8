// The keyboard hook that keeps key_down for the name entry.
#include "app/key_hook.h"

#include <algorithm>
#include <iterator>

#include "platform/key_codes.h"

int32_t key_down[256];
HookHandle keyboard_hook;

int32_t key_hook(int32_t code, uint32_t wparam, uint32_t lparam) {
    key_down[scan_code_of(lparam)] = key_is_going_up(lparam) ? 0 : 1;
    return call_next_hook(keyboard_hook, code, wparam, lparam);
}

void install_key_hook() {
    keyboard_hook = set_key_hook(key_hook);
    std::fill(std::begin(key_down), std::end(key_down), 0);
}

void remove_key_hook() {
    unhook_key_hook(keyboard_hook);
    std::fill(std::begin(key_down), std::end(key_down), 0);
    keyboard_hook = nullptr;
}
