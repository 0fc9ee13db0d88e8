// Requests to the X server that xdotool does not make: the close a window manager sends, and
// the root window's id.
#pragma once

#include <string>

// Sends the window the WM_DELETE_WINDOW request, as a window manager's close button does;
// false when the display or window is not there.
bool ask_window_to_close(const std::string& display, const std::string& window);

// The root window's id, in decimal as xdotool writes ids; empty when the display is not there.
std::string root_window(const std::string& display);
