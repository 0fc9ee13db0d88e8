// The name entry: each key pressed is typed once, in the order of pressing; Backspace and Enter.
#include "app/name_entry.h"

#include "app/game_record.h"
#include "app/key_hook.h"
#include "platform/us_keyboard.h"
#include "store/hiscores.h"
#include "store/kept_replays.h"
#include "world/state.h"

namespace {

constexpr int32_t max_name_length = 10;

constexpr int32_t scan_backspace = 14;
constexpr int32_t scan_enter = 28;
constexpr int32_t scan_keypad_enter = 156;

// The row is saved as it stands, the games of the rows below move down with them, and then
// the row's game is kept beside it; a watched game saves nothing.
void finish_naming() {
    if (playing == Playing::live && save_hiscores()) {
        match_ranked_replays();
        keep_named_game(new_rank);
    }
    entering_name = 0;
}

} // namespace

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
