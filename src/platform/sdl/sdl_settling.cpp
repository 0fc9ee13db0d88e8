// The desktop and the game catch up with each other: windows shown as the game asked and asked
// again, placed again where the window manager put them elsewhere and judged on it, rescaled on
// a monitor of another scale, brought back from a screen changed under them; and the game told
// where the desktop put them.
#include <algorithm>

#include "platform/sdl/sdl_cursor.h"
#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_settling.h"
#include "platform/sdl/sdl_windows.h"

namespace {

constexpr Uint64 screen_look_ms = 250; // how often the screen's size is looked at

// The scale the window takes where it stands now, 0 for its own.
int32_t new_scale_of(const PlatformWindow* window) {
    SDL_Rect monitors[8]{};
    const int count = desktop_monitors(first_window()->sdl_window, monitors, 8);
    return new_scale(window->place, window_size(window), monitors, count, scaled_view_height());
}

bool on_a_monitor(const PlatformWindow* window, const SDL_Rect* monitors, int count) {
    if (window == nullptr || window->sdl_window == nullptr || !window->state.shown)
        return true;
    const SDL_Point size = window_size(window);
    return on_one_monitor({window->place.at.x, window->place.at.y, size.x, size.y}, monitors,
                          count);
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

bool stands_where_wanted(const PlatformWindow* window) {
    const PlatformWindow* main = first_window();
    const bool beside_main = window == second_window() && main != nullptr && main->sdl_window;
    return where_wanted(window->place, beside_main ? &main->place : nullptr);
}

void show_now(PlatformWindow* window, bool visible) {
    desktop_show_window(window->sdl_window, visible);
    // Without a window manager nobody gives the new window the keyboard.
    if (visible && window == first_window() && desktop_unmanaged(window->sdl_window))
        raise_window(window);
    const Uint64 now = SDL_GetTicks64();
    if (visible && window->place.tries_left > 0) {
        window->place.placed_by = now + placing_time_ms;
        window->place.first_placing = !window->state.mapped_once;
    }
    note_asked(&window->state, visible, now);
    // A Wayland compositor shows a window only once it has a picture: it gets one at once.
    window->present.needs_whole = visible;
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
    const bool elsewhere = !stands_where_wanted(window) && !main_is_fullscreen();
    const Placing verdict = judge_placing(&window->place, now, elsewhere);
    if (verdict == Placing::first_place_refused && window == second_window())
        gun_place_refused();
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

// The whole screen's size, looked at now and then: a change is a screen changed under the game.
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

} // namespace

void settle_windows() {
    if (display_is_lost())
        return;
    const Uint64 now = SDL_GetTicks64();
    watch_screen_size(now);
    for (PlatformWindow* window : {first_window(), second_window()}) {
        if (window == nullptr || window->sdl_window == nullptr || window->state.gone)
            continue;
        const bool visible =
            window->state.shown && !(window == second_window() && main_is_fullscreen());
        const bool shown_now = (SDL_GetWindowFlags(window->sdl_window) & SDL_WINDOW_SHOWN) != 0;
        if (visible != window->state.asked_visible)
            show_now(window, visible);
        else if (ask_again(&window->state, visible, shown_now, now))
            desktop_show_again(window->sdl_window);
        if (window->place.place_again && window->place.tries_left > 0 && !main_is_fullscreen()) {
            --window->place.tries_left;
            ask_to_move(window, clear_of_frames(window->place, window->place.wanted));
        }
        window->place.place_again = false;
        judge_placement(window, now);
        // Frames told of after the window was placed: it moves clear of them, unless the player
        // has moved it meanwhile.
        const SDL_Point clear = clear_of_frames(window->place, window->place.wanted);
        if (window == second_window() && visible && !window->state.minimised &&
            window->place.placed_by == 0 && !main_is_fullscreen() &&
            window->place.at.x == window->place.asked_at.x &&
            window->place.at.y == window->place.asked_at.y &&
            (clear.x != window->place.asked_at.x || clear.y != window->place.asked_at.y)) {
            start_placing(&window->place, now);
            ask_to_move(window, clear);
        }
        if (window->place.rescale_at != 0 && now >= window->place.rescale_at) {
            const int32_t scale = new_scale_of(window);
            window->place.rescale_at = 0;
            if (scale != 0 && !main_is_fullscreen())
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
    window->place.answered = window->place.answered || old_at.x != at.x || old_at.y != at.y;
    // Not where it was asked: once more, once the events read with this one have told the
    // frame's extents.
    window->place.place_again =
        window->place.tries_left > 0 && !stands_where_wanted(window) && !main_is_fullscreen();
    const SDL_Point old = window->place.told;
    const ViewPlace old_layout = window->place.layout;
    refit(window);
    const bool relaid = window->place.layout.scale != old_layout.scale ||
                        window->place.layout.x != old_layout.x ||
                        window->place.layout.y != old_layout.y;
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
        put_aim_back();
    if (window == first_window() && second_window() != nullptr &&
        second_window()->sdl_window == nullptr)
        post_message(second_window(), MessageKind::moved, 0,
                     make_lparam(second_window()->place.told.x, second_window()->place.told.y));
    note_windowed_place(window);
    // Left on a monitor of another scale, it takes that scale once it stays there.
    window->place.rescale_at = new_scale_of(window) != 0 && !main_is_fullscreen()
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
    const int count = desktop_monitors(main->sdl_window, monitors, 8);
    const SDL_Point size = window_size(main);
    const SDL_Point middle{main->place.at.x + size.x / 2, main->place.at.y + size.y / 2};
    if (count == 0 ||
        (on_a_monitor(main, monitors, count) && on_a_monitor(gun, monitors, count) &&
         scale_at(middle, monitors, count, scaled_view_height()) == main->place.natural_scale))
        return;
    // Off the screen, wholly or in part, or on a monitor of another scale now: back to the
    // middle of the primary monitor, at its scale, as at the start.
    const SDL_Rect& primary = monitors[0];
    const int32_t scale = scale_for_monitor(primary.h, scaled_view_height());
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
