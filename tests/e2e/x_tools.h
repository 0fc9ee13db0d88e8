// The player's hands and eyes on a display: xdotool for windows, pointer and keys, and
// ImageMagick's import for screenshots.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "tests/e2e/child_process.h"
#include "tests/e2e/image.h"

// A window's place on the screen: its client area, since no window manager adds frames.
struct WindowPlace {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

// The id of the first window whose whole title matches, waiting up to the limit for it.
std::optional<std::string> find_window(const std::string& display, const std::string& title,
                                       Milliseconds limit);
std::optional<WindowPlace> window_place(const std::string& display, const std::string& window);
// Gives the window the keyboard focus and waits until it has it.
bool focus_window(const std::string& display, const std::string& window);
std::string focused_window(const std::string& display);

// Moves the pointer to a point of the screen.
bool move_pointer(const std::string& display, int x, int y);
// Moves the pointer by an amount, as a mouse does: unlike a jump to a place, such a move is
// held back by the edges a program confines the pointer to.
bool move_pointer_by(const std::string& display, int dx, int dy);
std::optional<std::pair<int, int>> pointer_position(const std::string& display);
bool click_left(const std::string& display);
// Presses and releases a key (an X key name such as "F1", "Escape", "p", "Return").
bool press_key(const std::string& display, const std::string& key);
// Holds a key down for a while, long enough for the X server's auto-repeat, then lets it go.
bool hold_key(const std::string& display, const std::string& key, Milliseconds time);
// Types text key by key, with Shift where a character needs it.
bool type_text(const std::string& display, const std::string& text);

// A picture of one window's contents, or of the whole screen when window is "root".
std::optional<Image> take_screenshot(const std::string& display, const std::string& window);
