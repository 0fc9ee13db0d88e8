// What the keys type on a US keyboard, by PC set-1 scan code.
#include "platform/us_keyboard.h"

#include <initializer_list>

namespace {

// Scan codes 2 to 53, without and with Shift; a space marks a code that types nothing.
constexpr char plain_row[] = "1234567890-=  qwertyuiop[]  asdfghjkl;'` \\zxcvbnm,./";
constexpr char shifted_row[] = "!@#$%^&*()_+  QWERTYUIOP{}  ASDFGHJKL:\"~ |ZXCVBNM<>?";
static_assert(sizeof plain_row == 53 && sizeof shifted_row == 53);

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

bool char_to_scan_code(char c, int32_t* scan_code, bool* shifted) {
    if (c == no_char)
        return false;
    for (int32_t code = 0; code < 256; ++code)
        for (const bool shift : {false, true})
            if (scan_code_to_char(code, shift) == c) {
                *scan_code = code;
                *shifted = shift;
                return true;
            }
    return false;
}
