// Windows on SDL: classes, creation, placement in view pixels, one window or two, the full
// screen, minimising, and a desktop that places, sizes or destroys windows its own way.
#include "platform/sdl/sdl_windows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl/sdl_wayland.h"

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
int32_t main_view_height = 0;  // what the scale of a monitor is chosen for
bool sdl_cannot_close = false; // a window was left open that SDL would wait for for ever
constexpr int32_t placing_tries = 3;
constexpr Uint64 placing_time_ms = 600;  // a window manager that has not placed a window by then
constexpr Uint64 settling_time_ms = 500; // a window left on another monitor this long stays there
constexpr Uint64 map_wait_ms = 250;      // a window not shown by then is asked for again
constexpr Uint64 mapping_time_ms = 500;  // a window manager's own states while it maps one
constexpr Uint64 screen_look_ms = 250;   // how often the screen's size is looked at

// The view pixel under the pointer when F11 was pressed: it is put back under the pointer each
// time the main window moves or takes a new layout for a few seconds after, as the window manager
// answers in steps, so that the aim does not move.
struct KeptAim {
    bool kept;
    ScreenPoint pixel;
    Uint64 until;
};
KeptAim kept_aim;
constexpr Uint64 aim_kept_ms = 3000; // a busy desktop may take its time

void keep_aim(const PlatformWindow* main) {
    const ScreenPoint at = get_cursor_pos();
    const ScreenPoint pixel{at.x - main->place.told.x, at.y - main->place.told.y};
    const bool on_view = pixel.x >= 0 && pixel.y >= 0 && pixel.x < main->place.view_width &&
                         pixel.y < main->place.view_height;
    kept_aim = {on_view, pixel, SDL_GetTicks64() + aim_kept_ms};
}

void put_aim_back(const PlatformWindow* main) {
    kept_aim.kept = kept_aim.kept && SDL_GetTicks64() < kept_aim.until;
    if (kept_aim.kept)
        set_cursor_pos(
            {main->place.told.x + kept_aim.pixel.x, main->place.told.y + kept_aim.pixel.y});
}

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

SDL_Point beside_of(const PlatformWindow* window) {
    const PlatformWindow* gun = second_window();
    if (window != first_window() || gun == nullptr || !main_shows_gun())
        return {0, 0};
    return {gun->place.view_width, gun->place.view_height};
}

// The window's natural size on the screen: its views at its monitor's scale.
SDL_Point natural_size(const PlatformWindow* window) {
    const SDL_Point beside = beside_of(window);
    return {(window->place.view_width + beside.x) * window->place.natural_scale,
            std::max(window->place.view_height, beside.y) * window->place.natural_scale};
}

int32_t monitor_scale_at(SDL_Point point) {
    SDL_Rect monitors[8]{};
    const int count = current_monitors(monitors, 8);
    for (int i = 0; i < count; ++i)
        if (SDL_PointInRect(&point, &monitors[i]))
            return scale_for_monitor(monitors[i].h, main_view_height);
    return 0;
}

bool on_a_monitor(const PlatformWindow* window, const SDL_Rect* monitors, int count) {
    if (window == nullptr || window->sdl_window == nullptr || !window->state.shown)
        return true;
    const SDL_Point size = window_size(window);
    const SDL_Rect area{window->place.at.x, window->place.at.y, size.x, size.y};
    return std::any_of(monitors, monitors + count, [&](const SDL_Rect& monitor) {
        SDL_Rect common{};
        return SDL_IntersectRect(&area, &monitor, &common) && SDL_RectEquals(&common, &area);
    });
}

// The view's position as the game counts it, from the client area's place on the screen.
SDL_Point told_position(const PlatformWindow* window) {
    const SDL_Point primary = primary_origin();
    return {floor_div(window->place.at.x + window->place.layout.origin.x - primary.x,
                      window->place.layout.scale),
            floor_div(window->place.at.y + window->place.layout.origin.y - primary.y,
                      window->place.layout.scale)};
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

void refit(PlatformWindow* window) {
    const SDL_Point size = window_size(window);
    // A window of a new size has a new surface, whatever it held lost.
    if (size.x != window->place.laid_out_for.x || size.y != window->place.laid_out_for.y)
        window->present.needs_whole = true;
    window->place.laid_out_for = size;
    window->place.layout =
        lay_out(window->place.laid_out_for, {window->place.view_width, window->place.view_height},
                beside_of(window), window->place.natural_scale);
    window->place.told = told_position(window);
    if (window == first_window())
        place_gun_in_main();
}

// The window takes its views' size at its scale, and is fitted again.
void take_natural_size(PlatformWindow* window) {
    const SDL_Point size = natural_size(window);
    SDL_SetWindowSize(window->sdl_window, size.x, size.y);
    refit(window);
}

// Where the client area goes for the place the game gave it: the gun window stands clear of the
// main window's frame and of its own, as wide as the window manager draws them (none until the
// windows are framed), so that neither covers the other's picture.
SDL_Point clear_of_frames(const PlatformWindow* window, SDL_Point place) {
    return {place.x - (window == second_window() ? window->place.frame_gap : 0), place.y};
}

int32_t frame_side(SDL_Window* window, bool left) {
    int sides[2] = {};
    desktop_frame_sides(window, &sides[0], &sides[1]);
    return std::max(sides[left ? 0 : 1], 0);
}

// Both frames between the views, as they stand now.
void measure_frame_gap() {
    const PlatformWindow* main = first_window();
    PlatformWindow* gun = second_window();
    if (main == nullptr || gun == nullptr || main->sdl_window == nullptr ||
        gun->sdl_window == nullptr)
        return;
    gun->place.frame_gap = frame_side(main->sdl_window, true) + frame_side(gun->sdl_window, false);
}

bool where_wanted(const PlatformWindow* window) {
    const SDL_Point place = clear_of_frames(window, window->place.wanted);
    if (window->place.at.x == place.x && window->place.at.y == place.y)
        return true;
    // A gun window beside the main window, wherever the window manager settled that one (i3
    // centres it), stands where it belongs: at the main view's left, tops level.
    const PlatformWindow* main = first_window();
    if (window != second_window() || main == nullptr || main->sdl_window == nullptr ||
        main->place.placed_by != 0)
        return false;
    const SDL_Point beside =
        clear_of_frames(window, {main->place.at.x + main->place.layout.origin.x -
                                     window->place.view_width * main->place.natural_scale,
                                 main->place.at.y + main->place.layout.origin.y});
    return window->place.at.x == beside.x && window->place.at.y == beside.y;
}

void ask_to_move(PlatformWindow* window, SDL_Point at) {
    window->place.asked_at = at;
    desktop_move_window(window->sdl_window, at);
}

void show_now(PlatformWindow* window, bool visible) {
    if (window->sdl_window == nullptr || window->state.gone)
        return;
    desktop_show_window(window->sdl_window, visible);
    // Without a window manager nobody gives the new window the keyboard.
    if (visible && window == first_window() && desktop_unmanaged(window->sdl_window))
        raise_window(window);
    if (visible) {
        window->state.mapping_until = SDL_GetTicks64() + mapping_time_ms;
        window->state.exposed_since_map = false;
    }
    if (visible && window->place.tries_left > 0) {
        window->place.placed_by = SDL_GetTicks64() + placing_time_ms;
        window->place.first_placing = !window->state.mapped_once;
    }
    window->state.mapped_once = window->state.mapped_once || visible;
    // A Wayland compositor shows a window only once it has a picture: it gets one at once.
    window->present.needs_whole = visible;
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

// Where the main window goes back to from the full screen: its last settled windowed place, not
// one it passes through while a window manager is still taking it off or on the full screen
// (F11 pressed fast).
void note_windowed_place(PlatformWindow* window) {
    if (window == first_window() && !main_is_fullscreen() && window->place.placed_by == 0)
        window->place.windowed_at = window->place.at;
}

// A window manager that did not put the gun window where it was asked, even when asked again,
// decides for itself: the gun view cannot be kept beside the playfield in a window of its own.
void judge_placement(PlatformWindow* window, Uint64 now) {
    if (window->place.placed_by == 0 || now < window->place.placed_by)
        return;
    const bool refused = !where_wanted(window) && !main_is_fullscreen();
    window->place.tries_left = 0;
    window->place.placed_by = 0;
    if (refused && window->place.first_placing && window == second_window() &&
        arrangement == WindowArrangement::automatic && !one_window)
        take_in_gun_window();
    window->place.first_placing = false;
    note_windowed_place(window);
}

void rescale(PlatformWindow* window, int32_t scale) {
    window->place.rescale_at = 0;
    window->place.natural_scale = scale;
    take_natural_size(window);
    post_message(window, MessageKind::sized, size_restored,
                 make_lparam(window->place.view_width, window->place.view_height));
    post_message(window, MessageKind::moved, 0,
                 make_lparam(window->place.told.x, window->place.told.y));
    window->present.needs_whole = true;
}

} // namespace

int current_monitors(SDL_Rect* monitors, int most) {
    const int count = std::clamp(SDL_GetNumVideoDisplays(), 0, most);
    const PlatformWindow* main = first_window();
    SDL_Point screen{};
    const bool on_x = main != nullptr && main->sdl_window != nullptr &&
                      desktop_screen_size(main->sdl_window, &screen);
    const SDL_Rect whole{0, 0, screen.x, screen.y};
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(i, &bounds) == 0 &&
            (!on_x || SDL_IntersectRect(&bounds, &whole, &bounds)))
            monitors[kept++] = bounds;
    }
    return kept;
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
        main_view_height = height;
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
    const SDL_Point size = natural_size(window);
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
        watch_wayland_pump(window->sdl_window);
    if (main == nullptr)
        one_window = arrangement == WindowArrangement::one_window ||
                     (arrangement == WindowArrangement::automatic &&
                      desktop_places_windows(window->sdl_window));
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
    const SDL_Point size = natural_size(window);
    const SDL_Point now = window_size(window);
    if (size.x != now.x || size.y != now.y)
        SDL_SetWindowSize(window->sdl_window, size.x, size.y);
    refit(window);
    // SDL reports no moves or sizes that the program makes itself: the game is told at once, and
    // the window manager's answer, when it comes, is checked against what was asked.
    const SDL_Point primary = primary_origin();
    window->place.at = {primary.x + x * window->place.layout.scale - window->place.layout.origin.x,
                        primary.y + y * window->place.layout.scale - window->place.layout.origin.y};
    window->place.wanted = window->place.at;
    window->place.windowed_at = window->place.at;
    window->place.tries_left = placing_tries;
    ask_to_move(window, clear_of_frames(window, window->place.wanted));
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
    else if (!window->state.gone &&
             window->state.asked_visible) // SDL would map a window we withdrew
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
    keep_aim(window);
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
        window->place.tries_left = placing_tries;
        window->place.placed_by = SDL_GetTicks64() + placing_time_ms;
        ask_to_move(window, window->place.wanted);
    }
    refit(window);
    tell_size_and_position(window);
    put_aim_back(window);
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
    forget_picture(&window->present.picture);
    free_canvas(window->present.view);
    free_canvas(window->present.composed);
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

// The X screen's size, looked at now and then: a change is a screen changed under the game.
void watch_screen_size(Uint64 now) {
    static Uint64 next_look = 0;
    static SDL_Point last{};
    const PlatformWindow* main = first_window();
    SDL_Point size{};
    if (now < next_look || main == nullptr || main->sdl_window == nullptr ||
        !desktop_screen_size(main->sdl_window, &size))
        return;
    next_look = now + screen_look_ms;
    const bool changed = last.x != 0 && (size.x != last.x || size.y != last.y);
    last = size;
    if (changed)
        screen_changed();
}

void settle_windows() {
    if (display_is_lost())
        return;
    const Uint64 now = SDL_GetTicks64();
    watch_screen_size(now);
    for (PlatformWindow* window : windows) {
        if (window->sdl_window == nullptr || window->state.gone)
            continue;
        const bool visible =
            window->state.shown && !(window == second_window() && main_is_fullscreen());
        if (visible != window->state.asked_visible) {
            window->state.asked_visible = visible;
            window->state.map_again_at = now + map_wait_ms;
            show_now(window, visible);
        } else if (visible && !window->state.minimised && now >= window->state.map_again_at &&
                   (SDL_GetWindowFlags(window->sdl_window) & SDL_WINDOW_SHOWN) == 0) {
            // A window manager that was itself starting may have let the request go by.
            window->state.map_again_at = now + map_wait_ms;
            desktop_show_again(window->sdl_window);
        }
        if (window->place.place_again && window->place.tries_left > 0 && !main_is_fullscreen()) {
            --window->place.tries_left;
            ask_to_move(window, clear_of_frames(window, window->place.wanted));
        }
        window->place.place_again = false;
        judge_placement(window, now);
        // Frames told of after the window was placed: it moves clear of them, unless the player
        // has moved it meanwhile.
        const SDL_Point clear = clear_of_frames(window, window->place.wanted);
        if (window == second_window() && visible && !window->state.minimised &&
            window->place.placed_by == 0 && !main_is_fullscreen() &&
            window->place.at.x == window->place.asked_at.x &&
            window->place.at.y == window->place.asked_at.y &&
            (clear.x != window->place.asked_at.x || clear.y != window->place.asked_at.y)) {
            window->place.tries_left = placing_tries;
            window->place.placed_by = now + placing_time_ms;
            ask_to_move(window, clear);
        }
        if (window->place.rescale_at != 0 && now >= window->place.rescale_at) {
            const SDL_Point size = window_size(window);
            const int32_t scale = monitor_scale_at(
                {window->place.at.x + size.x / 2, window->place.at.y + size.y / 2});
            window->place.rescale_at = 0;
            if (scale > 0 && scale != window->place.natural_scale && !main_is_fullscreen())
                rescale(window, scale);
        }
    }
}

void window_moved(PlatformWindow* window, SDL_Point at) {
    // Some window managers' notices of a move are wrong; the display server's word counts.
    desktop_client_position(window->sdl_window, &at);
    measure_frame_gap();
    const SDL_Point old_at = window->place.at;
    window->place.at = at;
    // Not where it was asked: once more, once the events read with this one have told the
    // frame's extents.
    window->place.place_again =
        window->place.tries_left > 0 && !where_wanted(window) && !main_is_fullscreen();
    const SDL_Point old = window->place.told;
    const ViewLayout old_layout = window->place.layout;
    refit(window);
    const bool relaid = window->place.layout.scale != old_layout.scale ||
                        window->place.layout.origin.x != old_layout.origin.x ||
                        window->place.layout.origin.y != old_layout.origin.y;
    window->present.needs_whole = window->present.needs_whole || relaid;
    if (old.x != window->place.told.x || old.y != window->place.told.y)
        post_message(window, MessageKind::moved, 0,
                     make_lparam(window->place.told.x, window->place.told.y));
    // The held pointer follows the view, also where the game hears of no move (the same view
    // pixel, or the same told place while the window itself changed).
    if (window == first_window() && (relaid || old_at.x != at.x || old_at.y != at.y))
        refresh_pointer_hold();
    // Each notice counts, also one of a place taken for granted when it was asked for.
    if (window == first_window())
        put_aim_back(window);
    if (window == first_window() && second_window() != nullptr &&
        second_window()->sdl_window == nullptr)
        post_message(second_window(), MessageKind::moved, 0,
                     make_lparam(second_window()->place.told.x, second_window()->place.told.y));
    note_windowed_place(window);
    // Left on a monitor of another scale, it takes that scale once it stays there.
    const SDL_Point size = window_size(window);
    const int32_t scale = monitor_scale_at({at.x + size.x / 2, at.y + size.y / 2});
    window->place.rescale_at =
        scale > 0 && scale != window->place.natural_scale && !main_is_fullscreen()
            ? SDL_GetTicks64() + settling_time_ms
            : 0;
}

void screen_changed() {
    PlatformWindow* main = first_window();
    PlatformWindow* gun = second_window();
    if (main == nullptr || main->sdl_window == nullptr || main->state.gone ||
        main->state.minimised || main_is_fullscreen())
        return;
    SDL_Rect monitors[8]{};
    const int count = current_monitors(monitors, 8);
    const SDL_Point size = window_size(main);
    if (count == 0 ||
        (on_a_monitor(main, monitors, count) && on_a_monitor(gun, monitors, count) &&
         monitor_scale_at({main->place.at.x + size.x / 2, main->place.at.y + size.y / 2}) ==
             main->place.natural_scale))
        return;
    // Off the screen, wholly or in part, or on a monitor of another scale now: back to the
    // middle of the primary monitor, at its scale, as at the start.
    const SDL_Rect& primary = monitors[0];
    const int32_t scale = scale_for_monitor(primary.h, main_view_height);
    for (PlatformWindow* window : {main, gun})
        if (window != nullptr && window->sdl_window != nullptr &&
            window->place.natural_scale != scale)
            rescale(window, scale);
    const SDL_Point origin = primary_origin();
    const int32_t x =
        (primary.x - origin.x + (primary.w - main->place.view_width * scale) / 2) / scale;
    const int32_t y =
        (primary.y - origin.y + (primary.h - main->place.view_height * scale) / 2) / scale;
    move_window(main, x, y, main->place.view_width, main->place.view_height);
    if (gun != nullptr)
        move_window(gun, x - gun->place.view_width, y, gun->place.view_width,
                    gun->place.view_height);
}

void keep_focus_on_main(PlatformWindow* focused) {
    PlatformWindow* main = first_window();
    if (focused == main || main == nullptr || main->state.minimised || !main->state.shown)
        return;
    raise_window(main);
}

void forget_window(PlatformWindow* window) {
    window->state.gone = true;
    window->state.focused = false;
    if (window == first_window())
        post_message(window, MessageKind::destroy, 0, 0);
}

ScreenPoint screen_to_view(SDL_Point point) {
    const PlatformWindow* main = first_window();
    if (main == nullptr)
        return {point.x, point.y};
    return {main->place.told.x + floor_div(point.x - main->place.at.x - main->place.layout.origin.x,
                                           main->place.layout.scale),
            main->place.told.y + floor_div(point.y - main->place.at.y - main->place.layout.origin.y,
                                           main->place.layout.scale)};
}

SDL_Point view_to_screen(ScreenPoint point) {
    const PlatformWindow* main = first_window();
    if (main == nullptr)
        return {point.x, point.y};
    return {main->place.at.x + main->place.layout.origin.x +
                (point.x - main->place.told.x) * main->place.layout.scale,
            main->place.at.y + main->place.layout.origin.y +
                (point.y - main->place.told.y) * main->place.layout.scale};
}

ViewPoint point_in_views(PlatformWindow* window, int32_t x, int32_t y) {
    PlatformWindow* shown = window;
    ViewLayout layout = window->place.layout;
    PlatformWindow* gun = second_window();
    if (window == first_window() && main_shows_gun() && gun != nullptr) {
        // Over the gun view shown at the left, the point is the gun window's.
        const int32_t gun_left = layout.origin.x - gun->place.view_width * layout.scale;
        if (x >= gun_left && x < layout.origin.x && y >= layout.origin.y &&
            y < layout.origin.y + gun->place.view_height * layout.scale) {
            shown = gun;
            layout.origin.x = gun_left;
        }
    }
    const int32_t view_x = floor_div(x - layout.origin.x, layout.scale);
    const int32_t view_y = floor_div(y - layout.origin.y, layout.scale);
    const int32_t x_on = std::clamp(view_x, 0, std::max(shown->place.view_width - 1, 0));
    const int32_t y_on = std::clamp(view_y, 0, std::max(shown->place.view_height - 1, 0));
    return {shown, x_on, y_on, x_on == view_x && y_on == view_y};
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
