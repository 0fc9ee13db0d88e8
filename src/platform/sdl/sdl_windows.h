// What the SDL platform keeps about each window it made, shared by its window, drawing, cursor
// and event code: its place, its presentation and what the desktop does to it, each a record of
// its own. The game counts in view pixels: each window shows its view enlarged by a whole
// number, and positions on the screen are told in screen pixels divided by that number, counted
// from the primary monitor's top-left corner.
#pragma once

#include <SDL.h>

#include "platform/input.h"
#include "platform/sdl/sdl_placement.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_window_state.h"
#include "platform/window.h"

struct PlatformWindow {
    SDL_Window* sdl_window; // null for the gun view when the main window shows it
    uint32_t id;
    WindowProc proc;
    CursorShape cursor;
    WindowPlacement place;      // where it stands and how big it is
    WindowPresentation present; // what it shows and how
    WindowState state;          // what the desktop does to it
};

// The first window made, the main one: the cursor is confined to it, keys and closing are its.
PlatformWindow* first_window();
PlatformWindow* second_window();
// The window with this SDL id, or null.
PlatformWindow* find_window(uint32_t sdl_window_id);
bool any_window_focused();
bool any_window_minimised();
bool main_is_fullscreen();
// The main window shows the gun view at its left (on the full screen, or as the one window).
bool main_shows_gun();

// Shared by the window code: the primary monitor's top-left, where the game's positions count
// from; a window's size on the screen now; the height of the view a monitor's scale is chosen
// for (the main view's).
SDL_Point primary_origin();
SDL_Point window_size(const PlatformWindow* window);
int32_t scaled_view_height();
// The view is fitted again into the window as it stands, the game not told.
void refit(PlatformWindow* window);
// The window takes its views' size at its scale, and is fitted again.
void take_natural_size(PlatformWindow* window);
// The window manager is asked to put the client area at `at`, without waiting for it.
void ask_to_move(PlatformWindow* window, SDL_Point at);
// The gun window was refused the first place it was given: where the choice is left to the
// game, the gun view moves into the main window for good.
void gun_place_refused();

// A point of the screen in the game's view pixels, and back, as seen from the main window.
ScreenPoint screen_to_view(SDL_Point point);
SDL_Point view_to_screen(ScreenPoint point);
// Destroys every window still open, as the end of the process does; false when one of them
// cannot be destroyed safely (gone, or the display lost), and SDL must not try either.
bool close_all_windows();
