// The mouse cursor and the keyboard hook.
#pragma once

#include <cstdint>

struct ScreenPoint {
    int32_t x, y;
};

// Left, top, right and bottom in screen pixels; right and bottom lie just outside.
struct ScreenRect {
    int32_t left, top, right, bottom;
};

void show_cursor(bool visible);
// Keeps the cursor inside the rectangle; null lets it go anywhere.
void clip_cursor(const ScreenRect* rect);
ScreenPoint get_cursor_pos();
void set_cursor_pos(ScreenPoint point);

// While a recorded game is watched, the player's keys and mouse are not the game's: the key
// hook hears nothing, and the pointer is neither held, moved nor hidden.
void set_watching(bool watching);

// Called for every keyboard message the queue hands out while the hook is set.
using KeyHookProc = int32_t (*)(int32_t code, uint32_t wparam, uint32_t lparam);
struct KeyHook;
using HookHandle = KeyHook*;
HookHandle set_key_hook(KeyHookProc proc);
void unhook_key_hook(HookHandle hook);
