// The name entry: each key typed once, the lowest scan code first, Backspace and Enter.
#include "app/name_entry.h"

#include "app/key_hook.h"
#include "app/state.h"
#include "platform/input.h"
#include "store/hiscores.h"

namespace {

constexpr char no_char = 1;
constexpr int32_t max_name_length = 10;

// Scan codes 2 to 53, without and with Shift; a space marks a code that types nothing.
constexpr char plain_row[] = "1234567890-=  qwertyuiop[]  asdfghjkl;'` \\zxcvbnm,./";
constexpr char shifted_row[] = "!@#$%^&*()_+  QWERTYUIOP{}  ASDFGHJKL:\"~ |ZXCVBNM<>?";
static_assert(sizeof plain_row == 53 && sizeof shifted_row == 53);

constexpr int32_t scan_left_shift = 42;
constexpr int32_t scan_right_shift = 54;
constexpr int32_t scan_backspace = 14;
constexpr int32_t scan_enter = 28;
constexpr int32_t scan_keypad_enter = 156;

} // namespace

char scan_code_to_char(int32_t scan_code) {
    const bool shifted = shift_key_down();
    switch (scan_code) {
    case 55:
        return '*';
    case 57:
        return ' ';
    case 74:
        return '-';
    default:
        break;
    }
    if (scan_code < 2 || scan_code > 53)
        return no_char;
    const char c = (shifted ? shifted_row : plain_row)[scan_code - 2];
    return c == ' ' ? no_char : c;
}

void name_entry_step() {
    if (last_name_key >= 0) {
        // A key still held down is not typed again; the pass that sees it up types nothing.
        if (key_down[last_name_key] == 0)
            last_name_key = -1;
        return;
    }
    char* name = hiscores[new_rank].name;
    for (int32_t s = 0; s < 256; ++s) {
        if (key_down[s] == 0 || s == scan_left_shift || s == scan_right_shift)
            continue;
        if (s == scan_backspace) {
            if (name_length > 0) {
                --name_length;
                name[name_length] = '\0';
            }
            last_name_key = s;
        } else if (s == scan_enter || s == scan_keypad_enter) {
            save_hiscores();
            entering_name = 0;
            last_name_key = s;
        } else {
            const char c = scan_code_to_char(s);
            if (c == no_char)
                continue;
            if (name_length < max_name_length) {
                name[name_length] = c;
                ++name_length;
                name[name_length] = '\0';
            }
            last_name_key = s;
        }
    }
}

void save_named_row() {
    if (entering_name == 0)
        return;
    save_hiscores();
    entering_name = 0;
}
