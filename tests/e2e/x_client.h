// Requests to the X server that xdotool does not make: the close a window manager sends, the
// root window's id and the cursor's picture.
#pragma once

#include <optional>
#include <string>

// Sends the window the WM_DELETE_WINDOW request, as a window manager's close button does;
// false when the display or window is not there.
bool ask_window_to_close(const std::string& display, const std::string& window);

// The root window's id, in decimal as xdotool writes ids; empty when the display is not there.
std::string root_window(const std::string& display);

// Whether the cursor where the pointer is shows anything: a hidden cursor is a picture with
// no opaque pixel. Empty when the display is not there.
std::optional<bool> cursor_visible(const std::string& display);
