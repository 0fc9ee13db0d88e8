// What the SDL platform asks of the desktop beyond SDL: requests that never wait on a window
// manager, where a window really is, its frame, pointer barriers across every monitor, and a
// display that goes away. One desktop answers for the whole run, chosen by SDL's video driver
// among those of the system (the X server and Wayland on Linux, Windows' own); for any other
// (the drivers that show nothing) a null desktop answers with what SDL alone knows.
#pragma once

#include <SDL.h>

// From now on an X error is reported once on stderr and the game goes on; without this, the
// first failed request (one SDL makes for a window that is partly off the screen, or for a
// window another program has destroyed) ends the process. When the connection to the display is
// lost, `lost` runs; it must not return. Set before SDL starts.
void catch_display_errors(void (*lost)());
// True once the display server has gone away: nothing more may be asked of it.
bool display_is_lost();
// The display server (`server`, as said to the player) went away: the game ends without it.
void lose_display(const char* server);
// The desktop's session ends (logging off, shutting down): the game ends at once, as when its
// display is lost, before the system ends the process.
void end_with_the_session();
// The display lost from another thread while the game's is stuck in SDL's event pump: the game's
// thread, when it comes back, waits for the end.
void lose_display_elsewhere(const char* server);
void wait_if_ended_elsewhere();

// Chooses the desktop by SDL's video driver, once SDL's video has started.
void choose_desktop();

// No window manager runs: nobody gives a window the whole screen, or the keyboard.
bool desktop_unmanaged(SDL_Window* window);
// The desktop puts windows where it likes, whatever place a program asks for.
bool desktop_places_windows(SDL_Window* window);
// The compositor, not the X server, moves the real pointer (an X server of a Wayland session).
bool desktop_compositor_moves_pointer();
// Where the window's client area is on the screen now, by the display server's own word, which
// some window managers' notices get wrong; false when it cannot tell.
bool desktop_client_position(SDL_Window* window, SDL_Point* at);
// How far the window manager's frame reaches out at the client area's left and right.
void desktop_frame_sides(SDL_Window* window, int* left, int* right);
// Shows or withdraws the window without waiting for a window manager to do it (SDL would wait
// for ever for one that never answers).
void desktop_show_window(SDL_Window* window, bool visible);
// Asks once more for a window to be shown that a window manager, itself starting, let go by.
void desktop_show_again(SDL_Window* window);
// Asks for the window's client area to go to `at` (screen pixels) without waiting.
void desktop_move_window(SDL_Window* window, SDL_Point at);
// The whole screen's size now (SDL does not hear of a monitor's mode set anew); false when it
// cannot tell.
bool desktop_screen_size(SDL_Window* window, SDL_Point* size);
// The monitors as they are now, the primary first, at most `most`: SDL's, cut to the whole
// screen where the desktop tells its size, as SDL does not hear of a monitor's mode set anew.
int desktop_monitors(SDL_Window* window, SDL_Rect* monitors, int most);
// False once another program has destroyed the window.
bool desktop_window_exists(SDL_Window* window);
// Whether the system message tells that another program destroyed the window.
bool desktop_destroyed_window(const SDL_SysWMmsg* message, SDL_Window* window);
// Marks the window as a utility window of `owner`: kept with its owner, above it, out of the
// task bar and the window switcher, never taking the keyboard from it.
void desktop_tie_to_owner(SDL_Window* window, SDL_Window* owner);
// Holds the pointer in the rectangle of the screen, across every monitor, or lets it go with
// null; false when the desktop cannot hold it so.
bool desktop_confine_pointer(SDL_Window* window, const SDL_Rect* rect);
// Where the pointer is on the screen now, which SDL's idea lags behind; false when it cannot
// tell.
bool desktop_pointer_position(SDL_Window* window, SDL_Point* at);
// The display server has ended the connection, gone away or refused a request: nothing more can
// be asked of it (SDL would hand a dead connection's null objects on, and fall over).
bool desktop_connection_lost(SDL_Window* window);
// Where SDL's event pump can loop for ever once the display server has gone (libdecor on
// Wayland), a watchman ends the game from outside the loop when the game has been inside the
// pump for a second with the server gone or an end asked.
void desktop_watch_pump(SDL_Window* window);
