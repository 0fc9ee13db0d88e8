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
    const SDL_Point from = view_to_screen({clip_rect.left, clip_rect.top});
    const SDL_Point to = view_to_screen({clip_rect.right, clip_rect.bottom});
    const SDL_Rect wanted{from.x, from.y, to.x - from.x, to.y - from.y};
    SDL_Rect screen{}, on_screen{};
    SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window->sdl_window), 0), &screen);
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
    SDL_Point at{};
    if (SDL_Window* focus = SDL_GetMouseFocus()) {
        int window_x = 0, window_y = 0;
        SDL_GetWindowPosition(focus, &window_x, &window_y);
        SDL_GetMouseState(&at.x, &at.y);
        at = {at.x + window_x, at.y + window_y};
    } else {
        SDL_GetGlobalMouseState(&at.x, &at.y);
    }
    return screen_to_view(at);
}

void set_cursor_pos(ScreenPoint point) {
    // A warp does nothing while the mouse is confined.
    if (clip_active && first_window() != nullptr)
        SDL_SetWindowMouseRect(first_window()->sdl_window, nullptr);
    const SDL_Point at = view_to_screen(point);
    SDL_WarpMouseGlobal(at.x, at.y);
    apply_clip();
}

bool shift_key_down() {
    return (SDL_GetModState() & KMOD_SHIFT) != 0;
}
