// Key translation tables for the SDL platform.
#include "platform/sdl/sdl_keymap.h"

#include "platform/key_codes.h"

namespace {

constexpr uint32_t extended = 0x80;

struct ScanEntry {
    SDL_Scancode sdl;
    uint32_t set1;
};

constexpr ScanEntry scan_table[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2},
    {SDL_SCANCODE_2, 3},
    {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},
    {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10},
    {SDL_SCANCODE_0, 11},
    {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},
    {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16},
    {SDL_SCANCODE_W, 17},
    {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20},
    {SDL_SCANCODE_Y, 21},
    {SDL_SCANCODE_U, 22},
    {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},
    {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28},
    {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},
    {SDL_SCANCODE_D, 32},
    {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34},
    {SDL_SCANCODE_H, 35},
    {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39},
    {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41},
    {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_Z, 44},
    {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},
    {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48},
    {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},
    {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54},
    {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59},
    {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61},
    {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},
    {SDL_SCANCODE_F7, 65},
    {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67},
    {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70},
    {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},
    {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79},
    {SDL_SCANCODE_KP_2, 80},
    {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},
    {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87},
    {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_KP_ENTER, extended | 28},
    {SDL_SCANCODE_RCTRL, extended | 29},
    {SDL_SCANCODE_KP_DIVIDE, extended | 53},
    {SDL_SCANCODE_PRINTSCREEN, extended | 55},
    {SDL_SCANCODE_RALT, extended | 56},
    {SDL_SCANCODE_PAUSE, extended | 69},
    {SDL_SCANCODE_HOME, extended | 71},
    {SDL_SCANCODE_UP, extended | 72},
    {SDL_SCANCODE_PAGEUP, extended | 73},
    {SDL_SCANCODE_LEFT, extended | 75},
    {SDL_SCANCODE_RIGHT, extended | 77},
    {SDL_SCANCODE_END, extended | 79},
    {SDL_SCANCODE_DOWN, extended | 80},
    {SDL_SCANCODE_PAGEDOWN, extended | 81},
    {SDL_SCANCODE_INSERT, extended | 82},
    {SDL_SCANCODE_DELETE, extended | 83},
    {SDL_SCANCODE_LGUI, extended | 91},
    {SDL_SCANCODE_RGUI, extended | 92},
    {SDL_SCANCODE_APPLICATION, extended | 93},
};

struct KeyEntry {
    SDL_Keycode sdl;
    uint32_t vk;
};

constexpr KeyEntry key_table[] = {
    {SDLK_BACKSPACE, vk_back},  {SDLK_TAB, vk_tab},       {SDLK_RETURN, vk_return},
    {SDLK_KP_ENTER, vk_return}, {SDLK_LSHIFT, vk_shift},  {SDLK_RSHIFT, vk_shift},
    {SDLK_LCTRL, vk_control},   {SDLK_RCTRL, vk_control}, {SDLK_LALT, vk_menu},
    {SDLK_RALT, vk_menu},       {SDLK_PAUSE, 0x13},       {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, vk_escape},   {SDLK_SPACE, vk_space},   {SDLK_PAGEUP, vk_prior},
    {SDLK_PAGEDOWN, vk_next},   {SDLK_END, vk_end},       {SDLK_HOME, vk_home},
    {SDLK_LEFT, 0x25},          {SDLK_UP, 0x26},          {SDLK_RIGHT, 0x27},
    {SDLK_DOWN, 0x28},          {SDLK_PRINTSCREEN, 0x2C}, {SDLK_INSERT, 0x2D},
    {SDLK_DELETE, 0x2E},        {SDLK_LGUI, 0x5B},        {SDLK_RGUI, 0x5C},
    {SDLK_APPLICATION, 0x5D},   {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},      {SDLK_KP_PERIOD, 0x6E},   {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_NUMLOCKCLEAR, 0x90},  {SDLK_SCROLLLOCK, 0x91},  {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, 0xBB},        {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},
    {SDLK_PERIOD, 0xBE},        {SDLK_SLASH, 0xBF},       {SDLK_BACKQUOTE, 0xC0},
    {SDLK_LEFTBRACKET, 0xDB},   {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD},
    {SDLK_QUOTE, 0xDE},
};

// Keys that no table names still have to count as "some other key".
constexpr uint32_t vk_unknown = 0xFF;

} // namespace

uint32_t virtual_key_of(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return vk_letter('A') + static_cast<uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return 0x30 + static_cast<uint32_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return vk_f1 + static_cast<uint32_t>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 0x61 + static_cast<uint32_t>(key - SDLK_KP_1);
    if (key == SDLK_KP_0)
        return 0x60;
    for (const auto& entry : key_table)
        if (entry.sdl == key)
            return entry.vk;
    return vk_unknown;
}

uint32_t set1_scan_code_of(SDL_Scancode scancode) {
    for (const auto& entry : scan_table)
        if (entry.sdl == scancode)
            return entry.set1;
    return 0;
}
