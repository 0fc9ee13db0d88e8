// The two window procedures: all input reaches the game through them.
#pragma once

#include <cstdint>

#include "platform/input.h"
#include "platform/window.h"

extern ScreenPoint saved_cursor; // where the cursor was when a side screen opened or play paused
extern ScreenRect cursor_clip;   // the cursor stays inside it while playing

uint32_t main_window_proc(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam);
uint32_t gun_window_proc(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam);

void make_window_class(const char* class_name, WindowProc proc, CursorShape cursor);
void leave_side_screen();
