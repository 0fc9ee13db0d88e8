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

uint32_t scan_code_to_virtual_key(int32_t scan_code) {
    const char c = scan_code_to_char(scan_code, false);
    if (c >= 'a' && c <= 'z')
        return static_cast<uint32_t>(c - 'a' + 'A');
    if ((c >= '0' && c <= '9') || c == ' ')
        return static_cast<uint32_t>(c);
    // The punctuation keys' own codes, as Windows names them for a US keyboard.
    constexpr char punctuation[] = ";=,-./`[\\]'";
    constexpr uint32_t codes[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
    for (int i = 0; punctuation[i] != '\0'; ++i)
        if (punctuation[i] == c)
            return codes[i];
    return 0;
}
