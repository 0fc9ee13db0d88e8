// The pointer: its shape, whether it shows, where it is held and where it is put back.
#pragma once

#include "platform/window.h"

// The held pointer follows the main view to where it now lies on the screen.
void refresh_pointer_hold();
// F11 and back keep the pointer on the same view pixel: the pixel under it is kept as F11 is
// pressed, and put back under it at each notice of the main window's place for a while after,
// as the window manager answers in steps.
void keep_aim();
void put_aim_back();
// The cursor takes the shape of the window class under the mouse.
void set_cursor_shape(CursorShape shape);
