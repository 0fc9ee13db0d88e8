// The name entry: each key pressed is typed once, in the order of pressing; Backspace and Enter.
#include "app/name_entry.h"

#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/state.h"
#include "store/hiscores.h"

namespace {

constexpr char no_char = 1;
constexpr int32_t max_name_length = 10;

// Scan codes 2 to 53, without and with Shift; a space marks a code that types nothing.
constexpr char plain_row[] = "1234567890-=  qwertyuiop[]  asdfghjkl;'` \\zxcvbnm,./";
constexpr char shifted_row[] = "!@#$%^&*()_+  QWERTYUIOP{}  ASDFGHJKL:\"~ |ZXCVBNM<>?";
static_assert(sizeof plain_row == 53 && sizeof shifted_row == 53);

constexpr int32_t scan_backspace = 14;
constexpr int32_t scan_enter = 28;
constexpr int32_t scan_keypad_enter = 156;

// The row is saved as it stands, and its game kept beside it.
void finish_naming() {
    if (save_hiscores())
        keep_named_game(new_rank);
    entering_name = 0;
}

} // namespace

char scan_code_to_char(int32_t scan_code, bool shifted) {
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
    KeyPress press{};
    while (entering_name && take_key_press(&press)) {
        const int32_t s = press.scan_code;
        char* name = hiscores[new_rank].name;
        if (s == scan_backspace) {
            if (name_length > 0) {
                --name_length;
                name[name_length] = '\0';
            }
        } else if (s == scan_enter || s == scan_keypad_enter) {
            finish_naming(); // what follows is no longer part of the name: a new game forgets it
        } else {
            const char c = scan_code_to_char(s, press.shifted);
            if (c == no_char)
                continue; // Shift and the other keys that type nothing are not acted on
            if (name_length < max_name_length) {
                name[name_length] = c;
                ++name_length;
                name[name_length] = '\0';
            }
        }
        last_name_key = s;
    }
}

void save_named_row() {
    if (entering_name != 0)
        finish_naming();
}
