// What the SDL platform asks of the X server directly: requests that must never wait on a window
// manager, pointer barriers that span every monitor, and an X server that goes away.
#pragma once

#include <SDL.h>

// From now on an X error is reported once on stderr and the game goes on; without this, the
// first failed request (one SDL makes for a window that is partly off the screen, or for a
// window another program has destroyed) ends the process. When the connection to the X server
// is lost, `lost` runs; it must not return.
void catch_x_errors(void (*lost)());
// True once the X server has gone away: nothing more may be asked of it.
bool display_is_lost();
// The display server (`server`, as said to the player) went away: the game ends without it.
void lose_display(const char* server);

enum class X11Desktop { other, bare, managed };
// Whether the window is on an X display, and whether a window manager runs there.
X11Desktop x11_desktop(SDL_Window* window);
// An X server of a Wayland session: the compositor, not the X server, moves the real pointer.
bool x11_is_xwayland();
// The name the window manager gives itself, or "" when none runs or the window is not on X.
const char* x11_window_manager_name(SDL_Window* window);
// Where the window's client area is on the screen now: what the X server says, which some
// window managers' own notices get wrong. False when the window is not on X.
bool x11_client_position(SDL_Window* window, SDL_Point* at);
// How far the window manager's frame around the client area reaches out at its left, its right
// and (unless null) its top: the frame window it put the client in, whatever the manager says of
// it (mutter counts its border as none, yet draws over the neighbour). False when the window is
// not on X or has no frame.
bool x11_frame_sides(SDL_Window* window, int* left, int* right, int* top = nullptr);

// Asks for the window to be shown or withdrawn without waiting for the window manager to do it
// (SDL would wait for ever for one that never answers); SDL hears of it through its events.
// False when the window is not on X.
bool x11_map_window(SDL_Window* window, bool visible);
// Asks for the window's client area to be moved to `at` (screen pixels) without waiting, the
// frame's extents taken into account as far as they are known. False when not on X.
bool x11_move_window(SDL_Window* window, SDL_Point at);
// The X screen's size now (SDL does not hear of a monitor's mode set anew); false when the
// window is not on X.
bool x11_screen_size(SDL_Window* window, SDL_Point* size);
// False once another program has destroyed the window.
bool x11_window_exists(SDL_Window* window);
// Marks the window as a utility window of `owner`: the window manager keeps it with its owner,
// above it, out of the task bar and the window switcher.
void x11_tie_to_owner(SDL_Window* window, SDL_Window* owner);
// Holds the pointer in the rectangle of the screen (barriers across the whole X screen, so that
// no monitor offers a way round), or lets it go with null. False when barriers cannot hold it.
bool x11_confine_pointer(SDL_Window* window, const SDL_Rect* rect);
// Where the pointer is on the screen now; false when not on X.
bool x11_pointer_position(SDL_Window* window, SDL_Point* at);
// Whether the message tells that the window was destroyed.
bool x11_destroyed_window(const SDL_SysWMmsg* message, SDL_Window* window);
