// The keyboard hook: the table of keys that are down, and the presses the name entry types.
#include "app/key_hook.h"

#include <algorithm>
#include <iterator>

#include "platform/key_codes.h"
#include "world/state.h"

int32_t key_down[256];
HookHandle keyboard_hook;

namespace {

constexpr int32_t scan_left_shift = 42;
constexpr int32_t scan_right_shift = 54;

// Far more than anyone types between two frames; a press beyond it is dropped.
constexpr int32_t press_capacity = 64;
KeyPress presses[press_capacity];
int32_t first_press, press_count;

} // namespace

bool name_entry_listens() {
    return game_over && entering_name && !side_screen_shown();
}

int32_t key_hook(int32_t, uint32_t, uint32_t lparam) {
    const uint32_t scan = scan_code_of(lparam);
    const bool going_down = !key_is_going_up(lparam);
    // Each press is kept with the Shift keys as they were then, so that keys pressed and let
    // go between two frames are typed all the same, in their order. A key held down repeats
    // without going up first: it is one press.
    if (going_down && key_down[scan] == 0 && name_entry_listens() && press_count < press_capacity) {
        presses[(first_press + press_count) % press_capacity] = {
            static_cast<int32_t>(scan), key_down[scan_left_shift] || key_down[scan_right_shift]};
        ++press_count;
    }
    key_down[scan] = going_down ? 1 : 0;
    return 0;
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

bool take_key_press(KeyPress* press) {
    if (press_count == 0)
        return false;
    *press = presses[first_press];
    first_press = (first_press + 1) % press_capacity;
    --press_count;
    return true;
}

void forget_key_presses() {
    first_press = press_count = 0;
}
