// Where a window stands on the screen and how big it is: its view's size and scale, where the
// view lies in it, where it is, and the asking of a window manager until the window is where the
// game wants it. The arithmetic of it needs no display.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/input.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/window.h"

struct WindowPlacement {
    int32_t view_width, view_height; // the game's size of the client area
    int32_t natural_scale;           // screen pixels per view pixel on its monitor
    ViewPlace layout;                // the scale and place of the view in the window now
    SDL_Point laid_out_for;          // the window's size when the layout was worked out
    SDL_Point at;                    // the client area's top-left on the screen
    SDL_Point told;                  // the position last told to the game, in view pixels
    SDL_Point wanted;                // where the game last put it, until it is there
    SDL_Point asked_at;              // where the window manager was last asked to put it
    bool answered;                   // the window has moved since the window manager was asked
    int32_t frame_gap;               // the gun window: both frames' width between the views
    int32_t tries_left;              // asks left before the window manager is taken at its word
    bool place_again;                // not where it was asked: asked again at the next look
    Uint64 placed_by;                // when the window manager has had time enough to place it
    bool first_placing;              // placed for the first time: where it lands decides
    Uint64 rescale_at;               // when a move to a monitor of another scale counts
    SDL_Point windowed_at;           // where the main window returns from the full screen
};

constexpr int32_t placing_tries = 3;
constexpr Uint64 placing_time_ms = 600;  // a window manager that has not placed a window by then
constexpr Uint64 settling_time_ms = 500; // a window left on another monitor this long stays there
constexpr Uint64 answer_time_ms = 3000;  // how much longer a busy window manager is waited for

// The window's natural size on the screen: its view and `beside` (the gun view shown at its
// left, 0 x 0 for none) at its monitor's scale.
SDL_Point natural_size(const WindowPlacement& place, SDL_Point beside);
// Lays the view out in a window of `size`, `beside` at its left, and works out the place told to
// the game, counted from `primary` (the primary monitor's top-left); whether the size is new.
bool lay_out_in(WindowPlacement* place, SDL_Point size, SDL_Point beside, SDL_Point primary);
// A point of the screen as the window's view pixel (beyond the view too), and back.
ScreenPoint to_view(const WindowPlacement& place, SDL_Point point);
SDL_Point to_screen(const WindowPlacement& place, ScreenPoint point);
// The view's pixel nearest to a pixel of the view's own counting: itself, or the edge's.
SDL_Point nearest_view_pixel(const WindowPlacement& place, SDL_Point view_pixel);

// Where the client area goes for the place `asked`: the gun window stands clear of both frames
// between the views, as wide as the window manager draws them, so that neither covers the
// other's picture.
SDL_Point clear_of_frames(const WindowPlacement& place, SDL_Point asked);
// The window manager is asked afresh to put the window where it is wanted, and given time.
void start_placing(WindowPlacement* place, Uint64 now);
// Whether the window stands where the game wants it, clear of the frames. The gun window (`main`
// its main window's place; null for the main window) stands where it belongs also at the main
// view's left, tops level, wherever the window manager settled the main window (i3 centres it).
bool where_wanted(const WindowPlacement& window, const WindowPlacement* main);

enum class Placing { not_yet, settled, first_place_refused };
// Judges a window manager's placing once it has had time enough for it: the asking ends, and
// the window stands where it was put (`elsewhere` when not where wanted). Refused counts only
// the first place the game gave the window, not one after the full screen or an icon, and only
// once the window manager has answered the last ask or has been waited for long enough.
Placing judge_placing(WindowPlacement* place, Uint64 now, bool elsewhere);
// Whether the gun view goes into the main window: asked for; or, left to the game, where the
// desktop places windows itself, or refused the gun window the first place it was given.
bool one_window_chosen(WindowArrangement arrangement, bool desktop_places_windows,
                       bool first_place_refused);

// The scale for views `view_height` high on the monitor holding the point; 0 when on none.
int32_t scale_at(SDL_Point point, const SDL_Rect* monitors, int count, int32_t view_height);
// The scale a window of `size` takes where it stands: that of the monitor under its middle
// where that differs from its own; else 0.
int32_t new_scale(const WindowPlacement& place, SDL_Point size, const SDL_Rect* monitors, int count,
                  int32_t view_height);
// Whether the area lies wholly on one monitor.
bool on_one_monitor(const SDL_Rect& area, const SDL_Rect* monitors, int count);
