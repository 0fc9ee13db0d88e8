// What the game draws on a window goes to a canvas of the window's view; each pass shows what
// changed since the last frame shown (nothing, when nothing did), enlarged by the window's
// whole-number scale and, in the main window, with the gun view at its left: through SDL's
// renderer where it has one, else copied into the window's surface, as soon as the pass has
// drawn it. Paced passes begin at most once per refresh of the display: by the present itself
// where it waits for the refresh, else on the clock.
#include <chrono>
#include <thread>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_pacing.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl/sdl_settling.h"
#include "platform/sdl/sdl_windows.h"

namespace {

FramePacing pacing = FramePacing::every_frame;
Uint64 next_frame = 0;    // when the next frame is due, on the clock
bool swap_waited = false; // the last pass's present waited for the refresh itself
// How the presents that wait for the refresh keep its pace; once they came faster than it,
// vsync is turned off and the clock paces instead, for good.
SwapPace swap_pace;

Uint64 refresh_period() {
    SDL_DisplayMode mode{};
    const int rate =
        SDL_GetWindowDisplayMode(first_window()->sdl_window, &mode) == 0 && mode.refresh_rate > 0
            ? mode.refresh_rate
            : 60;
    return SDL_GetPerformanceFrequency() / static_cast<Uint64>(rate);
}

void sleep_until(Uint64 when) {
    const Uint64 now = SDL_GetPerformanceCounter();
    if (now < when)
        std::this_thread::sleep_for(
            std::chrono::nanoseconds((when - now) * 1000000000 / SDL_GetPerformanceFrequency()));
}

// Judges a present that promised to wait for the refresh by when it came back; whether the
// presents still count as pacing the passes.
bool swap_kept_pace(Uint64 period) {
    const bool kept = judge_swap(&swap_pace, SDL_GetPerformanceCounter(), period);
    if (!kept)
        for (PlatformWindow* window : {first_window(), second_window()})
            if (window != nullptr && window->present.renderer != nullptr && window->present.vsync)
                window->present.vsync = SDL_RenderSetVSync(window->present.renderer, 0) != 0;
    return kept;
}

// The gun view, when the main window shows it at its left.
const Canvas* gun_view_beside(const PlatformWindow* window) {
    const PlatformWindow* gun = second_window();
    return window == first_window() && main_shows_gun() && gun != nullptr ? gun->present.view
                                                                          : nullptr;
}

// Paints what changed into the window's surface; how many rectangles of it changed.
int32_t paint_surface(PlatformWindow* window, bool whole) {
    SDL_Surface* surface = SDL_GetWindowSurface(window->sdl_window);
    if (surface == nullptr)
        return 0;
    // A size the window got without an event SDL passed on (a window manager's full screen).
    if (surface->w != window->place.laid_out_for.x || surface->h != window->place.laid_out_for.y)
        window_moved(window, window->place.at);
    const bool direct = surface->format->format == SDL_PIXELFORMAT_RGB888;
    if (!direct &&
        (window->present.composed == nullptr || window->present.composed->width != surface->w ||
         window->present.composed->height != surface->h)) {
        free_canvas(window->present.composed);
        window->present.composed = allocate_canvas(surface->w, surface->h);
    }
    Canvas wrapped = wrap_pixels(static_cast<uint32_t*>(surface->pixels), surface->w, surface->h,
                                 surface->pitch / 4);
    Canvas* target = direct ? &wrapped : window->present.composed;
    const ViewPlace& layout = window->place.layout;
    const int32_t count =
        paint_window(&window->present.picture, target, window->present.view,
                     gun_view_beside(window), layout, whole, window->present.changed);
    if (!direct)
        for (int32_t i = 0; i < count; ++i) {
            const PixelRect& r = window->present.changed[i];
            SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888,
                              target->pixels + r.y * target->pitch + r.x, target->pitch * 4,
                              surface->format->format,
                              static_cast<Uint8*>(surface->pixels) + r.y * surface->pitch +
                                  r.x * surface->format->BytesPerPixel,
                              surface->pitch);
        }
    return count;
}

void show(PlatformWindow* window) {
    if (window->present.renderer != nullptr) {
        show_rendered(window, gun_view_beside(window));
        return;
    }
    SDL_Rect rects[max_changes];
    for (int32_t i = 0; i < window->present.change_count; ++i) {
        const PixelRect& r = window->present.changed[i];
        rects[i] = {r.x, r.y, r.w, r.h};
    }
    SDL_UpdateWindowSurfaceRects(window->sdl_window, rects, window->present.change_count);
}

} // namespace

void pace_frames(FramePacing chosen) {
    pacing = chosen;
}

Canvas* get_window_canvas(WindowHandle window) {
    if (window == nullptr)
        return nullptr;
    if (window->present.view == nullptr ||
        window->present.view->width != window->place.view_width ||
        window->present.view->height != window->place.view_height) {
        free_canvas(window->present.view);
        window->present.view = allocate_canvas(window->place.view_width, window->place.view_height);
    }
    reset_text_state(window->present.view);
    return window->present.view;
}

void release_window_canvas(WindowHandle window, Canvas* canvas) {
    if (window != nullptr && canvas != nullptr)
        window->present.needs_present = true;
}

void present_windows() {
    PlatformWindow* main = first_window();
    PlatformWindow* gun = second_window();
    swap_waited = false;
    const auto wanted = [](const PlatformWindow* w) {
        return w != nullptr && (w->present.needs_present || w->present.needs_whole);
    };
    if (main == nullptr || display_is_lost() || !(wanted(main) || wanted(gun)) ||
        (pacing == FramePacing::now_and_then && SDL_GetPerformanceCounter() < next_frame))
        return;
    // The gun view shown in the main window is shown with it.
    if (main_shows_gun() && gun != nullptr) {
        main->present.needs_present = main->present.needs_present || gun->present.needs_present;
        main->present.needs_whole = main->present.needs_whole || gun->present.needs_whole;
    }
    bool synced = false;
    for (PlatformWindow* window : {main, gun}) {
        if (window == nullptr)
            continue;
        const bool drawn = wanted(window), whole = window->present.needs_whole;
        window->present.needs_present = window->present.needs_whole = false;
        window->present.change_count = 0;
        if (!drawn || window->sdl_window == nullptr || window->state.gone ||
            (window == gun && main_shows_gun()))
            continue;
        window->present.change_count =
            window->present.renderer != nullptr
                ? prepare_rendered(window, gun_view_beside(window), whole)
                : paint_surface(window, whole);
        synced = synced || (window->present.change_count > 0 && window->present.vsync);
    }
    for (PlatformWindow* window : {main, gun})
        if (window != nullptr && window->present.change_count > 0)
            show(window);
    swap_waited = synced && pacing == FramePacing::refresh && swap_kept_pace(refresh_period());
    if (pacing == FramePacing::now_and_then)
        next_frame = SDL_GetPerformanceCounter() + SDL_GetPerformanceFrequency() / 10;
}

void wait_for_refresh() {
    if (pacing != FramePacing::refresh || first_window() == nullptr || display_is_lost())
        return;
    const Uint64 period = refresh_period();
    if (swap_waited) {
        next_frame = swap_pace.last + period;
        return;
    }
    // Frames are due a refresh period apart on the clock, each counted from when the last one
    // was due rather than from when it came, so that one late frame does not put off the rest;
    // only a frame more than a period late starts the count again.
    if (SDL_GetPerformanceCounter() > next_frame + period)
        next_frame = SDL_GetPerformanceCounter();
    sleep_until(next_frame);
    next_frame += period;
}

void forget_presentation(WindowPresentation* present) {
    forget_picture(&present->picture);
    free_canvas(present->view);
    free_canvas(present->composed);
}

Canvas* create_back_buffer(int32_t width, int32_t height) {
    return allocate_canvas(width, height);
}

void delete_back_buffer(Canvas* canvas) {
    free_canvas(canvas);
}
