// The desktops the seam of sdl_desktop.h is chosen from, each a record of its answers: the X
// server's (sdl_x11.cpp) and the null desktop's (sdl_desktop.cpp).
#pragma once

#include <SDL.h>

struct DesktopAnswers {
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
};

extern const DesktopAnswers x_server_desktop;
