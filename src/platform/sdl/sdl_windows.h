// What the SDL platform keeps about each window it made, shared by its window and event code.
#pragma once

#include <SDL.h>

#include "platform/canvas.h"
#include "platform/window.h"

struct PlatformWindow {
    SDL_Window* sdl_window;
    uint32_t id;
    WindowProc proc;
    CursorShape cursor;
    bool focused;
    bool minimised;
    bool needs_present; // drawn on since it was last shown
    // Drawn into when the window surface is not in our pixel layout, then converted.
    Canvas* shadow;
    Canvas surface_canvas;
};

// The window with this SDL id, or null.
PlatformWindow* find_window(uint32_t sdl_window_id);
// The first window made: the one the cursor is confined to.
PlatformWindow* first_window();
bool any_window_focused();
bool any_window_minimised();
// Shows what was drawn on the windows since they were last shown.
void present_windows();
// Destroys every window still open, as the end of the process does.
void close_all_windows();
// The cursor takes the shape of the window class under the mouse.
void set_cursor_shape(CursorShape shape);
