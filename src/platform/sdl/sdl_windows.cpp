// Windows on SDL: classes, creation and destruction, one window or two, and the game's requests
// of them (shown, moved in view pixels, minimised, the full screen).
#include "platform/sdl/sdl_windows.h"
#include "platform/sdl/sdl_cursor.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_renderer.h"

namespace {

struct WindowClass {
    std::string name;
    WindowProc proc;
    CursorShape cursor;
};

std::vector<WindowClass> window_classes;
std::vector<PlatformWindow*> windows;
WindowArrangement arrangement = WindowArrangement::automatic;
bool one_window = false;       // the main window shows the gun view; chosen with the first window
int32_t first_view_height = 0; // what the scale of a monitor is chosen for
bool sdl_cannot_close = false; // a window was left open that SDL would wait for for ever

SDL_Point beside_of(const PlatformWindow* window) {
    const PlatformWindow* gun = second_window();
    if (window != first_window() || gun == nullptr || !main_shows_gun())
        return {0, 0};
    return {gun->place.view_width, gun->place.view_height};
}

void tell_size_and_position(PlatformWindow* window) {
    window->proc(window, MessageKind::sized, size_restored,
                 make_lparam(window->place.view_width, window->place.view_height));
    window->proc(window, MessageKind::moved, 0,
                 make_lparam(window->place.told.x, window->place.told.y));
}

// The gun view's place when the main window shows it: at the main view's left, tops level.
void place_gun_in_main() {
    PlatformWindow* main = first_window();
    PlatformWindow* gun = second_window();
    if (main == nullptr || gun == nullptr || gun->sdl_window != nullptr)
        return;
    gun->place.layout = main->place.layout;
    gun->place.at = main->place.at;
    gun->place.told = {main->place.told.x - gun->place.view_width, main->place.told.y};
}

// Becomes one window: the gun view moves into the main window, at its left.
void take_in_gun_window() {
    PlatformWindow* main = first_window();
    PlatformWindow* gun = second_window();
    if (main == nullptr || gun == nullptr || gun->sdl_window == nullptr)
        return;
    one_window = true;
    release_renderer(gun);
    forget_picture(&gun->present.picture);
    SDL_DestroyWindow(gun->sdl_window);
    gun->sdl_window = nullptr;
    gun->id = 0;
    gun->state.focused = false;
    gun->state.minimised = false; // the view goes and comes with the main window now
    main->place.at.x -= gun->place.view_width * main->place.natural_scale;
    ask_to_move(main, main->place.at);
    take_natural_size(main);
    post_message(main, MessageKind::moved, 0, make_lparam(main->place.told.x, main->place.told.y));
    post_message(gun, MessageKind::moved, 0, make_lparam(gun->place.told.x, gun->place.told.y));
    main->present.needs_whole = true;
}

} // namespace

SDL_Point primary_origin() {
    SDL_Rect bounds{};
    SDL_GetDisplayBounds(0, &bounds);
    return {bounds.x, bounds.y};
}

SDL_Point window_size(const PlatformWindow* window) {
    SDL_Point size{};
    SDL_GetWindowSize(window->sdl_window, &size.x, &size.y);
    return size;
}

int32_t scaled_view_height() {
    return first_view_height;
}

void refit(PlatformWindow* window) {
    // A window of a new size has a new surface, whatever it held lost.
    if (lay_out_in(&window->place, window_size(window), beside_of(window), primary_origin()))
        window->present.needs_whole = true;
    if (window == first_window())
        place_gun_in_main();
}

void take_natural_size(PlatformWindow* window) {
    const SDL_Point size = natural_size(window->place, beside_of(window));
    SDL_SetWindowSize(window->sdl_window, size.x, size.y);
    refit(window);
}

void ask_to_move(PlatformWindow* window, SDL_Point at) {
    window->place.asked_at = at;
    window->place.answered = false;
    desktop_move_window(window->sdl_window, at);
}

void gun_place_refused() {
    if (!one_window && one_window_chosen(arrangement, false, true))
        take_in_gun_window();
}

void arrange_windows(WindowArrangement chosen) {
    arrangement = chosen;
}

void register_window_class(const char* class_name, WindowProc proc, CursorShape cursor) {
    window_classes.push_back({class_name, proc, cursor});
}

WindowHandle create_window(const char* class_name, const char* title, int32_t x, int32_t y,
                           int32_t width, int32_t height) {
    const auto found = std::find_if(window_classes.begin(), window_classes.end(),
                                    [&](const WindowClass& c) { return c.name == class_name; });
    if (found == window_classes.end())
        return nullptr;
    auto* window = new PlatformWindow{};
    window->proc = found->proc;
    window->cursor = found->cursor;
    window->place.view_width = width;
    window->place.view_height = height;
    PlatformWindow* main = first_window();
    if (main == nullptr) {
        first_view_height = height;
        SDL_Rect primary{};
        window->place.natural_scale =
            SDL_GetDisplayBounds(0, &primary) == 0 ? scale_for_monitor(primary.h, height) : 1;
    } else {
        window->place.natural_scale = main->place.natural_scale;
    }
    windows.push_back(window);
    if (main != nullptr && one_window) {
        take_natural_size(main); // it grows to show this view at its left
        tell_size_and_position(window);
        return window;
    }
    const SDL_Point size = natural_size(window->place, beside_of(window));
    const Uint32 flags = SDL_WINDOW_HIDDEN | (main != nullptr ? SDL_WINDOW_UTILITY : 0) |
                         (main != nullptr ? SDL_WINDOW_SKIP_TASKBAR : 0);
    window->sdl_window = SDL_CreateWindow(
        title,
        x == use_default_position ? SDL_WINDOWPOS_UNDEFINED : x * window->place.natural_scale,
        y == use_default_position ? SDL_WINDOWPOS_UNDEFINED : y * window->place.natural_scale,
        size.x, size.y, flags);
    if (window->sdl_window == nullptr) {
        windows.pop_back();
        delete window;
        return nullptr;
    }
    // Before anything else is asked of the window: an OpenGL renderer may make SDL create it anew.
    attach_renderer(window, main == nullptr);
    window->id = SDL_GetWindowID(window->sdl_window);
    if (main == nullptr)
        desktop_watch_pump(window->sdl_window);
    if (main == nullptr)
        one_window =
            one_window_chosen(arrangement, desktop_places_windows(window->sdl_window), false);
    else
        desktop_tie_to_owner(window->sdl_window, main->sdl_window);
    SDL_GetWindowPosition(window->sdl_window, &window->place.at.x, &window->place.at.y);
    refit(window);
    tell_size_and_position(window);
    return window;
}

void show_window(WindowHandle window, bool visible) {
    if (window != nullptr)
        window->state.shown = visible;
}

void move_window(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (window == nullptr)
        return;
    window->place.view_width = width;
    window->place.view_height = height;
    if (window->sdl_window == nullptr) {
        window->place.told = {x, y};
        tell_size_and_position(window);
        return;
    }
    const SDL_Point size = natural_size(window->place, beside_of(window));
    const SDL_Point now = window_size(window);
    if (size.x != now.x || size.y != now.y)
        SDL_SetWindowSize(window->sdl_window, size.x, size.y);
    refit(window);
    // SDL reports no moves or sizes that the program makes itself: the game is told at once, and
    // the window manager's answer, when it comes, is checked against what was asked.
    const SDL_Point primary = primary_origin();
    window->place.at = {primary.x + x * window->place.layout.scale - window->place.layout.x,
                        primary.y + y * window->place.layout.scale - window->place.layout.y};
    window->place.wanted = window->place.at;
    window->place.windowed_at = window->place.at;
    window->place.tries_left = placing_tries;
    ask_to_move(window, clear_of_frames(window->place, window->place.wanted));
    refit(window);
    tell_size_and_position(window);
}

void minimise_window(WindowHandle window) {
    if (window == nullptr)
        return;
    if (window->sdl_window == nullptr)
        post_message(window, MessageKind::sized, size_minimised, 0);
    else if (!window->state.gone)
        SDL_MinimizeWindow(window->sdl_window);
}

void restore_window(WindowHandle window) {
    if (window == nullptr)
        return;
    if (window->sdl_window == nullptr)
        post_message(window, MessageKind::sized, size_restored,
                     make_lparam(window->place.view_width, window->place.view_height));
    // SDL would map a window the game withdrew.
    else if (!window->state.gone && window->state.asked_visible)
        SDL_RestoreWindow(window->sdl_window);
}

void raise_window(WindowHandle window) {
    if (window == nullptr || window->sdl_window == nullptr || window->state.gone ||
        display_is_lost())
        return;
    SDL_RaiseWindow(window->sdl_window);
    SDL_SetWindowInputFocus(window->sdl_window);
}

void toggle_fullscreen(WindowHandle window) {
    if (window == nullptr || window->sdl_window == nullptr || window->state.gone)
        return;
    const bool full = !main_is_fullscreen();
    // A bare X server has no window manager to give a window the whole screen.
    if (full && desktop_unmanaged(window->sdl_window))
        return;
    keep_aim();
    // Where a window manager puts a gun window shown again after the full screen (i3: in the
    // middle) is no answer to where the game first asked for it.
    if (PlatformWindow* gun = second_window())
        gun->place.first_placing = false;
    // The gun view is drawn beside the main one on the full screen, its window hidden (at the
    // next pass).
    SDL_SetWindowFullscreen(window->sdl_window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!desktop_client_position(window->sdl_window, &window->place.at))
        SDL_GetWindowPosition(window->sdl_window, &window->place.at.x, &window->place.at.y);
    if (!full) {
        // Window managers put a window back from the full screen where they think best; it goes
        // back where it was.
        window->place.wanted = window->place.windowed_at;
        start_placing(&window->place, SDL_GetTicks64());
        ask_to_move(window, window->place.wanted);
    }
    refit(window);
    tell_size_and_position(window);
    put_aim_back();
}

void set_window_icon(WindowHandle window, const Canvas* picture) {
    if (window == nullptr || window->sdl_window == nullptr || picture == nullptr)
        return;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(picture->pixels, picture->width, picture->height, 32,
                                           picture->pitch * 4, SDL_PIXELFORMAT_RGB888);
    if (surface != nullptr)
        SDL_SetWindowIcon(window->sdl_window, surface);
    SDL_FreeSurface(surface);
}

void destroy_window(WindowHandle window) {
    if (window == nullptr)
        return;
    std::erase(windows, window);
    // SDL would wait for ever to see a window hidden that another program destroyed; such a
    // window is left to the end of the process, and SDL must not close it either.
    if (window->sdl_window != nullptr) {
        if (!window->state.gone && !display_is_lost() &&
            desktop_window_exists(window->sdl_window)) {
            release_renderer(window);
            SDL_DestroyWindow(window->sdl_window);
        } else {
            sdl_cannot_close = true;
        }
    }
    forget_presentation(&window->present);
    delete window;
}

bool close_all_windows() {
    while (!windows.empty())
        destroy_window(windows.back());
    one_window = false;
    const bool closed = !sdl_cannot_close;
    sdl_cannot_close = false;
    return closed;
}

ScreenPoint screen_to_view(SDL_Point point) {
    const PlatformWindow* main = first_window();
    return main == nullptr ? ScreenPoint{point.x, point.y} : to_view(main->place, point);
}

SDL_Point view_to_screen(ScreenPoint point) {
    const PlatformWindow* main = first_window();
    return main == nullptr ? SDL_Point{point.x, point.y} : to_screen(main->place, point);
}

PlatformWindow* find_window(uint32_t sdl_window_id) {
    const auto found = std::find_if(windows.begin(), windows.end(), [&](auto* w) {
        return w->sdl_window != nullptr && w->id == sdl_window_id;
    });
    return found == windows.end() ? nullptr : *found;
}

PlatformWindow* first_window() {
    return windows.empty() ? nullptr : windows.front();
}

PlatformWindow* second_window() {
    return windows.size() < 2 ? nullptr : windows[1];
}

bool main_is_fullscreen() {
    return first_window() != nullptr && first_window()->sdl_window != nullptr &&
           (SDL_GetWindowFlags(first_window()->sdl_window) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool main_shows_gun() {
    return one_window || main_is_fullscreen();
}

bool any_window_focused() {
    return std::any_of(windows.begin(), windows.end(), [](auto* w) { return w->state.focused; });
}

bool any_window_minimised() {
    return std::any_of(windows.begin(), windows.end(), [](auto* w) { return w->state.minimised; });
}
