// The mouse cursor and the Shift key on SDL.
#include <algorithm>

#include "platform/input.h"
#include "platform/sdl/sdl_windows.h"

namespace {

bool clip_active = false;
ScreenRect clip_rect{};

void apply_clip() {
    PlatformWindow* window = first_window();
    if (window == nullptr)
        return;
    if (!clip_active) {
        SDL_SetWindowMouseRect(window->sdl_window, nullptr);
        return;
    }
    // Only the part on the screen: the X server refuses pointer barriers left of or above it.
    SDL_Rect screen{}, on_screen{};
    SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window->sdl_window), 0), &screen);
    const SDL_Rect wanted{clip_rect.left, clip_rect.top, clip_rect.right - clip_rect.left,
                          clip_rect.bottom - clip_rect.top};
    if (!SDL_IntersectRect(&wanted, &screen, &on_screen)) {
        SDL_SetWindowMouseRect(window->sdl_window, nullptr);
        return;
    }
    int window_x = 0, window_y = 0;
    SDL_GetWindowPosition(window->sdl_window, &window_x, &window_y);
    on_screen.x -= window_x;
    on_screen.y -= window_y;
    SDL_SetWindowMouseRect(window->sdl_window, &on_screen);
}

SDL_Cursor* cursors[2] = {};

} // namespace

void set_cursor_shape(CursorShape shape) {
    const int index = shape == CursorShape::cross ? 1 : 0;
    if (cursors[index] == nullptr)
        cursors[index] = SDL_CreateSystemCursor(
            shape == CursorShape::cross ? SDL_SYSTEM_CURSOR_CROSSHAIR : SDL_SYSTEM_CURSOR_ARROW);
    if (cursors[index] != nullptr)
        SDL_SetCursor(cursors[index]);
}

void show_cursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void clip_cursor(const ScreenRect* rect) {
    clip_active = rect != nullptr;
    if (rect != nullptr)
        clip_rect = *rect;
    apply_clip();
}

ScreenPoint get_cursor_pos() {
    // SDL's global position can lag behind pointer moves that other programs make; over our
    // own windows the last motion event is exact.
    SDL_Window* focus = SDL_GetMouseFocus();
    int x = 0, y = 0;
    if (focus != nullptr) {
        int window_x = 0, window_y = 0;
        SDL_GetWindowPosition(focus, &window_x, &window_y);
        SDL_GetMouseState(&x, &y);
        return {window_x + x, window_y + y};
    }
    SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
}

void set_cursor_pos(ScreenPoint point) {
    // A warp does nothing while the mouse is confined.
    if (clip_active && first_window() != nullptr)
        SDL_SetWindowMouseRect(first_window()->sdl_window, nullptr);
    SDL_WarpMouseGlobal(point.x, point.y);
    apply_clip();
}

bool shift_key_down() {
    return (SDL_GetModState() & KMOD_SHIFT) != 0;
}
