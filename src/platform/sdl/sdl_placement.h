// Where a window stands on the screen and how big it is: its view's size and scale, where the
// view lies in it, where it is, and the asking of a window manager until the window is where the
// game wants it.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/sdl/sdl_layout.h"

struct WindowPlacement {
    int32_t view_width, view_height; // the game's size of the client area
    int32_t natural_scale;           // screen pixels per view pixel on its monitor
    ViewLayout layout;               // the scale and place of the view in the window now
    SDL_Point laid_out_for;          // the window's size when the layout was worked out
    SDL_Point at;                    // the client area's top-left on the screen
    SDL_Point told;                  // the position last told to the game, in view pixels
    SDL_Point wanted;                // where the game last put it, until it is there
    SDL_Point asked_at;              // where the window manager was last asked to put it
    int32_t frame_gap;               // the gun window: both frames' width between the views
    int32_t tries_left;              // asks left before the window manager is taken at its word
    bool place_again;                // not where it was asked: asked again at the next look
    Uint64 placed_by;                // when the window manager has had time enough to place it
    bool first_placing;              // placed for the first time: where it lands decides
    Uint64 rescale_at;               // when a move to a monitor of another scale counts
    SDL_Point windowed_at;           // where the main window returns from the full screen
};
