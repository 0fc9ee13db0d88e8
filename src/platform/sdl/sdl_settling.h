// The windows settling after the desktop's doings: shown, placed, rescaled, brought back on a
// screen, the focus kept on the main one.
#pragma once

#include <SDL.h>

#include "platform/sdl/sdl_windows.h"

// The desktop catches up with what the game asked: windows shown or hidden, placed again where
// the window manager put them elsewhere, rescaled on a monitor of another scale. Called at every
// look for messages.
void settle_windows();
// The window moved or changed size on the screen: the view is fitted again and the game told.
void window_moved(PlatformWindow* window, SDL_Point at);
// The screen changed under the game (a monitor gone, a mode set anew): windows no longer wholly
// on a monitor, or on one of another scale now, come back to the middle of the primary one, at
// its scale.
void screen_changed();
// The focus is the main window's whenever it is visible: keys and the held pointer need it.
void keep_focus_on_main(PlatformWindow* focused);
// Another program destroyed the window: nothing more is asked of it.
void forget_window(PlatformWindow* window);
