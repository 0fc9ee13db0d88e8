// What the SDL platform keeps about each window it made, shared by its window, drawing, cursor
// and event code. The game counts in view pixels: each window shows its view enlarged by a
// whole number, and positions on the screen are told in screen pixels divided by that number.
#pragma once

#include <SDL.h>

#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/window.h"

struct PlatformWindow {
    SDL_Window* sdl_window;
    uint32_t id;
    WindowProc proc;
    CursorShape cursor;
    bool focused;
    bool minimised;
    bool needs_present;              // drawn on since it was last shown
    int32_t view_width, view_height; // the game's size of the client area
    int32_t scale;                   // screen pixels per view pixel
    SDL_Point origin;                // where the view's top-left lies in the window
    SDL_Point told;                  // the position last told to the game, in view pixels
    Canvas* view;                    // what the game draws on, shown at the next present
    Canvas* composed;                // the surface's size, when the surface has another layout
};

// Screen pixels per view pixel of the windows, chosen when the first one is made.
int32_t desktop_scale();
// The window with this SDL id, or null.
PlatformWindow* find_window(uint32_t sdl_window_id);
// The first window made, the main one: the cursor is confined to it, keys and closing are its.
PlatformWindow* first_window();
PlatformWindow* second_window();
bool any_window_focused();
bool any_window_minimised();
bool main_is_fullscreen();
// Fits the view into the window, whose client area lies at `at` on the screen, and works out
// the position told to the game.
void place_view(PlatformWindow* window, SDL_Point at);
// A point of the screen in the game's view pixels, and back, as seen from the main window.
ScreenPoint screen_to_view(SDL_Point point);
SDL_Point view_to_screen(ScreenPoint point);
// Shows what was drawn on the windows since they were last shown.
void present_windows();
// Destroys every window still open, as the end of the process does.
void close_all_windows();
// The cursor takes the shape of the window class under the mouse.
void set_cursor_shape(CursorShape shape);
