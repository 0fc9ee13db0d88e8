// The desktops the seam of sdl_desktop.h is chosen from, each a record of its answers: those of
// the system the game was built for (on Linux the X server's, sdl_x11.cpp, and Wayland's,
// sdl_wayland.cpp; on Windows its own, sdl_win32.cpp), and the null desktop (sdl_desktop.cpp)
// for the drivers that show nothing.
#pragma once

#include <SDL.h>

#include <cstddef>

struct DesktopAnswers {
    const char* driver;     // SDL's video driver it answers for
    void (*catch_errors)(); // before SDL starts
    bool (*unmanaged)(SDL_Window* window);
    bool (*places_windows)(SDL_Window* window);
    bool (*compositor_moves_pointer)();
    bool (*client_position)(SDL_Window* window, SDL_Point* at);
    void (*frame_sides)(SDL_Window* window, int* left, int* right);
    void (*show_window)(SDL_Window* window, bool visible);
    void (*show_again)(SDL_Window* window);
    void (*move_window)(SDL_Window* window, SDL_Point at);
    bool (*screen_size)(SDL_Window* window, SDL_Point* size);
    bool (*window_exists)(SDL_Window* window);
    bool (*destroyed_window)(const SDL_SysWMmsg* message, SDL_Window* window);
    void (*tie_to_owner)(SDL_Window* window, SDL_Window* owner);
    bool (*confine_pointer)(SDL_Window* window, const SDL_Rect* rect);
    bool (*pointer_position)(SDL_Window* window, SDL_Point* at);
    bool (*connection_lost)(SDL_Window* window);
    void (*watch_pump)(SDL_Window* window);
};

// The answers of a desktop that knows nothing beyond SDL, for others to start from.
DesktopAnswers null_answers();
// The desktops of the system the game was built for (sdl_desktops_posix.cpp or sdl_win32.cpp),
// and each desktop, built on its own system only.
extern const DesktopAnswers* const system_desktops[];
extern const size_t system_desktop_count;
extern const DesktopAnswers x_server_desktop;
extern const DesktopAnswers wayland_desktop;
extern const DesktopAnswers windows_desktop;
