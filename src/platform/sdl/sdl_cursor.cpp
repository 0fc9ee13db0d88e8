// The mouse cursor and the Shift key on SDL.
#include <algorithm>

#include "platform/input.h"
#include "platform/sdl/sdl_cursor.h"
#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_windows.h"

namespace {

bool clip_active = false;
ScreenRect clip_rect{};

// The view pixel under the pointer as F11 was pressed: the pointer goes back to it at every
// notice of the main window's place for a while, and the hold brings it there.
struct KeptAim {
    bool kept;
    ScreenPoint pixel; // of the main view
    Uint64 until;
};
KeptAim kept_aim;
constexpr Uint64 aim_kept_ms = 3000; // a busy desktop may take its time

// Where the kept aim lies now, in view pixels; false once it is no longer kept.
bool kept_aim_now(ScreenPoint* point) {
    const PlatformWindow* main = first_window();
    kept_aim.kept = kept_aim.kept && main != nullptr && SDL_GetTicks64() < kept_aim.until;
    if (kept_aim.kept)
        *point = {main->place.told.x + kept_aim.pixel.x, main->place.told.y + kept_aim.pixel.y};
    return kept_aim.kept;
}

void release(PlatformWindow* window) {
    if (!desktop_confine_pointer(window->sdl_window, nullptr)) {
        SDL_SetWindowMouseRect(window->sdl_window, nullptr);
        SDL_SetWindowMouseGrab(window->sdl_window, SDL_FALSE);
    }
}

void apply_clip() {
    PlatformWindow* window = first_window();
    if (window == nullptr || window->sdl_window == nullptr || display_is_lost())
        return;
    if (!clip_active) {
        release(window);
        return;
    }
    // Only the part that some monitor shows: a pointer cannot reach the rest, and the X server
    // refuses barriers outside the screen.
    const SDL_Point from = view_to_screen({clip_rect.left, clip_rect.top});
    const SDL_Point to = view_to_screen({clip_rect.right, clip_rect.bottom});
    const SDL_Rect wanted{from.x, from.y, to.x - from.x, to.y - from.y};
    SDL_Rect monitors[8]{};
    const int count = desktop_monitors(window->sdl_window, monitors, 8);
    SDL_Rect part{};
    if (!part_on_monitors(wanted, monitors, count, &part)) {
        release(window);
        return;
    }
    if (desktop_confine_pointer(window->sdl_window, &part)) {
        // Barriers keep a pointer in, but do not bring one in: like any confinement, it is put
        // at the nearest point inside; or, while F11's aim is kept, on it. (The game holds the
        // pointer in the part it last heard of; the aim put back before it heard of a move
        // would be pushed to an edge by the old part.)
        ScreenPoint aim{};
        const bool aim_kept = kept_aim_now(&aim);
        const SDL_Point aim_at = view_to_screen(aim);
        SDL_Point at{};
        if (aim_kept && SDL_PointInRect(&aim_at, &part))
            SDL_WarpMouseGlobal(aim_at.x, aim_at.y);
        else if (desktop_pointer_position(window->sdl_window, &at) && !SDL_PointInRect(&at, &part))
            SDL_WarpMouseGlobal(std::clamp(at.x, part.x, part.x + part.w - 1),
                                std::clamp(at.y, part.y, part.y + part.h - 1));
        return;
    }
    // Elsewhere SDL holds the pointer, in the window's own pixels, while the window has the focus.
    part.x -= window->place.at.x;
    part.y -= window->place.at.y;
    SDL_SetWindowMouseRect(window->sdl_window, &part);
    // Under XWayland the compositor holds the pointer for a window that grabs it.
    if (desktop_compositor_moves_pointer())
        SDL_SetWindowMouseGrab(window->sdl_window, SDL_TRUE);
}

SDL_Cursor* cursors[2] = {};
SDL_Cursor* shape_cursor = nullptr; // the shape the game asked for
bool cursor_hidden = false;

// XWayland takes a hidden pointer held to a window for one to lock, and from then on moves it
// only by the relative motion the compositor sends, which some send none of (the aim would
// stand still). Under XWayland the hidden cursor is one pixel all but clear, which it holds by
// confinement, following the pointer itself.
SDL_Cursor* all_but_clear_cursor() {
    static SDL_Cursor* cursor = nullptr;
    if (cursor != nullptr)
        return cursor;
    if (SDL_Surface* pixel =
            SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888)) {
        *static_cast<Uint32*>(pixel->pixels) = 0x01000000;
        cursor = SDL_CreateColorCursor(pixel, 0, 0);
        SDL_FreeSurface(pixel);
    }
    return cursor;
}

void apply_cursor() {
    if (cursor_hidden && desktop_compositor_moves_pointer() && all_but_clear_cursor() != nullptr) {
        SDL_SetCursor(all_but_clear_cursor());
        SDL_ShowCursor(SDL_ENABLE);
        return;
    }
    if (shape_cursor != nullptr)
        SDL_SetCursor(shape_cursor);
    SDL_ShowCursor(cursor_hidden ? SDL_DISABLE : SDL_ENABLE);
}

} // namespace

void keep_aim() {
    const PlatformWindow* main = first_window();
    const ScreenPoint at = get_cursor_pos();
    const ScreenPoint pixel{at.x - main->place.told.x, at.y - main->place.told.y};
    const bool on_view = pixel.x >= 0 && pixel.y >= 0 && pixel.x < main->place.view_width &&
                         pixel.y < main->place.view_height;
    kept_aim = {on_view, pixel, SDL_GetTicks64() + aim_kept_ms};
}

void put_aim_back() {
    ScreenPoint aim{};
    if (kept_aim_now(&aim))
        set_cursor_pos(aim);
}

void set_cursor_shape(CursorShape shape) {
    const int index = shape == CursorShape::cross ? 1 : 0;
    if (cursors[index] == nullptr)
        cursors[index] = SDL_CreateSystemCursor(
            shape == CursorShape::cross ? SDL_SYSTEM_CURSOR_CROSSHAIR : SDL_SYSTEM_CURSOR_ARROW);
    shape_cursor = cursors[index];
    if (!cursor_hidden || !desktop_compositor_moves_pointer())
        apply_cursor();
}

void show_cursor(bool visible) {
    if (watching_only() || display_is_lost())
        return;
    cursor_hidden = !visible;
    apply_cursor();
}

void refresh_pointer_hold() {
    if (clip_active)
        apply_clip();
}

void clip_cursor(const ScreenRect* rect) {
    if (watching_only())
        return;
    clip_active = rect != nullptr;
    if (rect != nullptr)
        clip_rect = *rect;
    apply_clip();
}

ScreenPoint get_cursor_pos() {
    // The X server knows where the pointer is now; SDL's idea lags behind warps, ours included,
    // until their motion events are read.
    SDL_Point at{};
    const PlatformWindow* main = first_window();
    if (main != nullptr && main->sdl_window != nullptr && !display_is_lost() &&
        desktop_pointer_position(main->sdl_window, &at))
        return screen_to_view(at);
    // Elsewhere, over our own windows the last motion event is exact.
    SDL_Window* focus = SDL_GetMouseFocus();
    if (const PlatformWindow* over =
            focus != nullptr ? find_window(SDL_GetWindowID(focus)) : nullptr) {
        SDL_GetMouseState(&at.x, &at.y);
        at = {at.x + over->place.at.x, at.y + over->place.at.y};
    } else {
        SDL_GetGlobalMouseState(&at.x, &at.y);
    }
    return screen_to_view(at);
}

void set_cursor_pos(ScreenPoint point) {
    if (watching_only())
        return;
    // A warp does nothing while the mouse is confined.
    if (clip_active && first_window() != nullptr && first_window()->sdl_window != nullptr)
        release(first_window());
    const SDL_Point at = view_to_screen(point);
    SDL_WarpMouseGlobal(at.x, at.y);
    apply_clip();
}
