// The message queue on SDL: SDL events become the game's window messages.
#include <algorithm>
#include <atomic>
#include <deque>

#include "platform/input.h"
#include "platform/key_codes.h"
#include "platform/sdl/sdl_cursor.h"
#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_settling.h"
#include "platform/sdl/sdl_signals.h"
#include "platform/sdl/sdl_windows.h"

struct KeyHook {
    KeyHookProc proc;
};

namespace {

std::atomic<Uint64> pump_entered_ms{0};

// Marks the time spent inside SDL's event pump, for the watchman of the desktop's pump.
struct InsidePump {
    InsidePump() { pump_entered_ms = SDL_GetTicks64(); }
    ~InsidePump() {
        pump_entered_ms = 0;
        wait_if_ended_elsewhere();
    }
};

bool reported_active = false;
KeyHook key_hook_slot{};
bool key_hook_set = false;
bool watching = false;

// A message, and whether the program itself posted it rather than the player's input.
struct Queued {
    Message message;
    bool posted;
};
std::deque<Queued> queue;

void post(PlatformWindow* window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    queue.push_back({{window, kind, wparam, lparam}, false});
}

// Where a point of a window lies: the window whose view it is over, the view pixel (the nearest
// one over a margin), and whether the point is on the view itself.
struct ViewPoint {
    PlatformWindow* window;
    int32_t x, y;
    bool inside;
};

ViewPoint point_in_views(PlatformWindow* window, int32_t x, int32_t y) {
    PlatformWindow* shown = window;
    ViewPlace layout = window->place.layout;
    PlatformWindow* gun = second_window();
    if (window == first_window() && main_shows_gun() && gun != nullptr) {
        // Over the gun view shown at the left, the point is the gun window's.
        const int32_t gun_left = layout.x - gun->place.view_width * layout.scale;
        if (x >= gun_left && x < layout.x && y >= layout.y &&
            y < layout.y + gun->place.view_height * layout.scale) {
            shown = gun;
            layout.x = gun_left;
        }
    }
    const int32_t view_x = floor_div(x - layout.x, layout.scale);
    const int32_t view_y = floor_div(y - layout.y, layout.scale);
    const SDL_Point on = nearest_view_pixel(shown->place, {view_x, view_y});
    return {shown, on.x, on.y, on.x == view_x && on.y == view_y};
}

// A mouse event over a window reaches the view under it, at the view's pixel.
void post_mouse(uint32_t window_id, MessageKind kind, int32_t x, int32_t y) {
    if (PlatformWindow* window = find_window(window_id)) {
        const ViewPoint point = point_in_views(window, x, y);
        // A window larger than its views (the full screen, a window manager's tiling) holds the
        // pointer in all of it where the compositor holds it: the aim stays at the view's edge,
        // and a click beside the view is no shot. SDL keeps its pointer within the held part;
        // the X server knows where the pointer really is.
        SDL_Point real{};
        if (kind == MessageKind::left_button_down &&
            !(desktop_pointer_position(window->sdl_window, &real)
                  ? point_in_views(window, real.x - window->place.at.x, real.y - window->place.at.y)
                        .inside
                  : point.inside))
            return;
        post(point.window, kind, 0, make_lparam(point.x, point.y));
    }
}

bool is_system_key(const SDL_KeyboardEvent& key) {
    return (key.keysym.mod & KMOD_ALT) != 0 || key.keysym.sym == SDLK_F10 ||
           key.keysym.sym == SDLK_LALT || key.keysym.sym == SDLK_RALT;
}

void translate_key(const SDL_KeyboardEvent& key) {
    // The keys are the game's whichever of its windows has the focus: the main window's.
    PlatformWindow* window = first_window();
    if (window == nullptr)
        return;
    const bool up = key.type == SDL_KEYUP;
    const uint32_t lparam = key_lparam(set1_scan_code_of(key.keysym.scancode), up, key.repeat != 0);
    const bool system = is_system_key(key);
    const MessageKind kind =
        up ? (system ? MessageKind::sys_key_released : MessageKind::key_released)
           : (system ? MessageKind::sys_key_pressed : MessageKind::key_pressed);
    post(window, kind, virtual_key_of(key.keysym.sym), lparam);
}

// A window another program destroys is unmapped first, which SDL tells as a minimise; the
// destruction comes in the same batch of events, and such a window takes its partner nowhere.
// So a minimise counts once the batch is read, or at a restore that follows it.
void count_minimise(PlatformWindow* window) {
    if (!window->state.minimise_heard)
        return;
    window->state.minimise_heard = false;
    if (!window->state.gone) {
        // Minimised by the player before the window manager was judged on where it put the
        // windows: it placed them as a window manager does, and where they come back from their
        // icons is no refusal.
        for (PlatformWindow* w : {first_window(), second_window()}) {
            if (w != nullptr) {
                w->place.placed_by = 0;
                w->place.first_placing = false;
            }
        }
        window->state.minimised = true;
        post(window, MessageKind::sized, size_minimised, 0);
    }
}

void translate_window_event(const SDL_WindowEvent& event) {
    PlatformWindow* window = find_window(event.windowID);
    if (window == nullptr)
        return;
    switch (event.event) {
    case SDL_WINDOWEVENT_MOVED:
        window_moved(window, {event.data1, event.data2});
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // The game's view keeps its size; it is fitted into the window's new one.
        window_moved(window, window->place.at);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        // The gun window withdrawn on the full screen is only hidden; a window manager mapping a
        // window passes it through states of its own.
        if (minimise_is_players(window->state, SDL_GetTicks64()))
            window->state.minimise_heard = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        count_minimise(window);
        window->state.minimised = false;
        window_moved(window,
                     window->place.at); // back from its icon, perhaps not where SDL last saw it
        post(window, MessageKind::sized, size_restored,
             make_lparam(window->place.view_width, window->place.view_height));
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        // Shown whole again at the next present, changed or not; and looked for where it is,
        // as a window manager may have mapped it elsewhere without a move SDL passes on.
        window->present.needs_whole = true;
        window->state.exposed_since_map = true;
        window_moved(window, window->place.at);
        post(window, MessageKind::paint, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        window->state.focused = true;
        keep_focus_on_main(window);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        window->state.focused = false;
        break;
    case SDL_WINDOWEVENT_ENTER:
        set_cursor_shape(window->cursor);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        if (window == first_window())
            post(window, MessageKind::destroy, 0, 0);
        break;
    default:
        break;
    }
}

void translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        post(nullptr, MessageKind::quit, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        translate_window_event(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translate_key(event.key);
        break;
    case SDL_MOUSEMOTION:
        post_mouse(event.motion.windowID, MessageKind::mouse_move, event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT)
            post_mouse(event.button.windowID, MessageKind::left_button_down, event.button.x,
                       event.button.y);
        break;
    case SDL_SYSWMEVENT:
        // A window another program destroyed; the main one's loss ends the game.
        for (PlatformWindow* window : {first_window(), second_window()})
            if (window != nullptr && window->sdl_window != nullptr && !window->state.gone &&
                desktop_destroyed_window(event.syswm.msg, window->sdl_window))
                forget_window(window);
        break;
    case SDL_DISPLAYEVENT:
        screen_changed();
        break;
    default:
        break;
    }
}

void fetch_events() {
    {
        const InsidePump inside;
        step_pads();
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0)
            translate(event);
    }
    // SDL tells a Wayland compositor gone as a plain quit, and then spins on the dead connection.
    if (first_window() != nullptr && desktop_connection_lost(first_window()->sdl_window))
        lose_display("the Wayland compositor");
    for (PlatformWindow* window : {first_window(), second_window()})
        if (window != nullptr)
            count_minimise(window);
    // Active while one of our windows has the focus and neither is minimised; a focus moving
    // between our own windows within the batch is no change.
    const bool active = any_window_focused() && !any_window_minimised();
    if (active != reported_active) {
        reported_active = active;
        post(first_window(), MessageKind::activate_app, active ? 1 : 0, 0);
    }
    if (end_was_asked())
        post(first_window(), MessageKind::destroy, 0, 0);
}

} // namespace

Uint64 pumping_since() {
    return pump_entered_ms;
}

void set_watching(bool watching_replay) {
    watching = watching_replay;
}

bool watching_only() {
    return watching;
}

void post_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    queue.push_back({{window, kind, wparam, lparam}, true});
}

bool peek_message(Message* message) {
    settle_windows();
    if (queue.empty())
        fetch_events();
    if (queue.empty())
        return false;
    const Queued taken = queue.front();
    queue.pop_front();
    *message = taken.message;
    // While a recorded game is watched, the player's keys are the watcher's, not the game's.
    if (key_hook_set && (!watching || taken.posted) && is_keyboard_message(message->kind))
        key_hook_slot.proc(0, message->wparam, message->lparam);
    return true;
}

void present_frame() {
    // What the pass drew (a frame, and the overlay over it) is shown whole, at once. The next
    // pass begins at the next refresh, with whatever the player did meanwhile, so that it shows
    // in the frame that pass draws.
    settle_windows();
    present_windows();
    wait_for_refresh();
}

void wait_for_message() {
    settle_windows();
    if (queue.empty()) {
        const InsidePump inside;
        SDL_WaitEventTimeout(nullptr, 100);
    }
}

void dispatch_message(const Message& message) {
    if (message.window != nullptr)
        message.window->proc(message.window, message.kind, message.wparam, message.lparam);
}

uint32_t send_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    return window == nullptr ? 0 : window->proc(window, kind, wparam, lparam);
}

uint32_t default_window_proc(WindowHandle, MessageKind, uint32_t, uint32_t) {
    return 0;
}

HookHandle set_key_hook(KeyHookProc proc) {
    key_hook_slot.proc = proc;
    key_hook_set = proc != nullptr;
    return key_hook_set ? &key_hook_slot : nullptr;
}

void unhook_key_hook(HookHandle hook) {
    if (hook == &key_hook_slot)
        key_hook_set = false;
}
