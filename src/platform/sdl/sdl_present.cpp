// What the game draws on a window goes to a canvas of the window's view; each pass shows it,
// enlarged by the window's whole-number scale (and, on the full screen, with the gun view in
// the margin), at most once per refresh of the display unless the frames are left unpaced.
#include <algorithm>
#include <cstring>

#include "platform/sdl/sdl_windows.h"
#include "platform/sdl/sdl_x11.h"

namespace {

bool frames_paced = false;

// Waits until a refresh of the display has passed since the last frame was shown. Window
// surfaces have no vertical sync, so the refresh times are kept by the clock.
void wait_for_refresh() {
    static Uint64 next = 0;
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    SDL_DisplayMode mode{};
    const int rate =
        SDL_GetWindowDisplayMode(first_window()->sdl_window, &mode) == 0 && mode.refresh_rate > 0
            ? mode.refresh_rate
            : 60;
    Uint64 now = SDL_GetPerformanceCounter();
    if (now < next) {
        SDL_Delay(static_cast<Uint32>(((next - now) * 1000 + frequency - 1) / frequency));
        now = SDL_GetPerformanceCounter();
    }
    next = std::max(next, now) + frequency / static_cast<Uint64>(rate);
}

// Copies a view into the target at `at`, each pixel a scale x scale square; what falls outside
// the target is left out.
void enlarge(Canvas* target, const Canvas* view, SDL_Point at, int32_t scale) {
    const int32_t left = std::max(at.x, 0);
    const int32_t right = std::min(at.x + view->width * scale, target->width);
    for (int32_t y = std::max(at.y, 0); y < std::min(at.y + view->height * scale, target->height);
         ++y) {
        uint32_t* row = target->pixels + static_cast<ptrdiff_t>(y) * target->pitch;
        const int32_t source_y = (y - at.y) / scale;
        if (source_y == (y - 1 - at.y) / scale && y > std::max(at.y, 0)) {
            std::memcpy(row + left, row - target->pitch + left, 4u * std::max(right - left, 0));
            continue;
        }
        const uint32_t* source = view->pixels + static_cast<ptrdiff_t>(source_y) * view->pitch;
        for (int32_t x = left; x < right; ++x)
            row[x] = source[(x - at.x) / scale];
    }
}

void compose(PlatformWindow* window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window->sdl_window);
    if (surface == nullptr || window->view == nullptr)
        return;
    // A size the window got without an event SDL passed on (a window manager's full screen).
    if (surface->w != window->laid_out_for.x || surface->h != window->laid_out_for.y)
        window_moved(window, window->at);
    const bool direct = surface->format->format == SDL_PIXELFORMAT_RGB888;
    if (!direct && (window->composed == nullptr || window->composed->width != surface->w ||
                    window->composed->height != surface->h)) {
        free_canvas(window->composed);
        window->composed = allocate_canvas(surface->w, surface->h);
    }
    Canvas wrapped = wrap_pixels(static_cast<uint32_t*>(surface->pixels), surface->w, surface->h,
                                 surface->pitch / 4);
    Canvas* target = direct ? &wrapped : window->composed;
    const ViewLayout& layout = window->layout;
    // Around a view that does not fill its window (the full screen, a tiled window, the gun
    // view shown beside it), black.
    if (layout.origin.x != 0 || layout.origin.y != 0 ||
        window->view_width * layout.scale != target->width ||
        window->view_height * layout.scale != target->height)
        fill_rect(target, 0, 0, target->width, target->height, rgb(0, 0, 0));
    const PlatformWindow* gun = second_window();
    if (window == first_window() && main_shows_gun() && gun != nullptr && gun->view != nullptr)
        enlarge(target, gun->view,
                {layout.origin.x - gun->view->width * layout.scale, layout.origin.y}, layout.scale);
    enlarge(target, window->view, layout.origin, layout.scale);
    if (!direct)
        SDL_ConvertPixels(target->width, target->height, SDL_PIXELFORMAT_RGB888, target->pixels,
                          target->pitch * 4, surface->format->format, surface->pixels,
                          surface->pitch);
}

} // namespace

void pace_frames(bool paced) {
    frames_paced = paced;
}

Canvas* get_window_canvas(WindowHandle window) {
    if (window == nullptr)
        return nullptr;
    if (window->view == nullptr || window->view->width != window->view_width ||
        window->view->height != window->view_height) {
        free_canvas(window->view);
        window->view = allocate_canvas(window->view_width, window->view_height);
    }
    reset_text_state(window->view);
    return window->view;
}

void release_window_canvas(WindowHandle window, Canvas* canvas) {
    if (window != nullptr && canvas != nullptr)
        window->needs_present = true;
}

void present_windows() {
    PlatformWindow* main = first_window();
    PlatformWindow* gun = second_window();
    if (main == nullptr || display_is_lost() ||
        !(main->needs_present || (gun != nullptr && gun->needs_present)))
        return;
    if (frames_paced)
        wait_for_refresh();
    // The gun view shown in the main window is shown with it.
    if (main_shows_gun() && gun != nullptr && gun->needs_present)
        main->needs_present = true;
    for (PlatformWindow* window : {main, gun})
        if (window != nullptr && window->needs_present) {
            window->needs_present = false;
            if (window->sdl_window != nullptr && !window->gone &&
                !(window == gun && main_shows_gun())) {
                compose(window);
                SDL_UpdateWindowSurface(window->sdl_window);
            }
        }
}

Canvas* create_back_buffer(int32_t width, int32_t height) {
    return allocate_canvas(width, height);
}

void delete_back_buffer(Canvas* canvas) {
    free_canvas(canvas);
}
