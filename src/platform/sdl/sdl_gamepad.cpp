// Game controllers on SDL. A stick moves the pointer; each button pressed or let go, the right
// trigger pulled, and a pad pulled out are told to the game as messages, with where the pad
// aims; what they mean is the game's (app/pad_controls).
#include "platform/sdl/sdl_gamepad.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/input.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_windows.h"

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    bool trigger_held;
};

std::vector<Pad> pads;

// The pointer as the pads move it, in the main view's pixels, and where the desktop had it when
// the stick last came to rest: a pad takes the pointer up where the mouse left it.
double aim_x, aim_y;
bool aiming;
ScreenPoint left_at{INT32_MIN, INT32_MIN};
Uint64 last_step;

constexpr double dead_zone = 8000 / 32767.0;
constexpr double full_speed = 800; // view pixels a second, the stick pushed all the way
constexpr Sint16 trigger_pulled = 16384, trigger_let_go = 8192;

// A point of the main view as a point of its window, for SDL's events.
SDL_Point in_window(ScreenPoint point) {
    const PlatformWindow* main = first_window();
    const SDL_Point screen =
        view_to_screen({main->place.told.x + point.x, main->place.told.y + point.y});
    return {screen.x - main->place.at.x, screen.y - main->place.at.y};
}

// Where the desktop has the pointer, in the main view's pixels.
ScreenPoint pointer_seen() {
    const ScreenPoint at = get_cursor_pos();
    return {at.x - first_window()->place.told.x, at.y - first_window()->place.told.y};
}

// Where the pointer is: where a pad took it, until the mouse moves it elsewhere.
ScreenPoint pointer() {
    if (!aiming) {
        const ScreenPoint seen = pointer_seen();
        if (seen.x != left_at.x || seen.y != left_at.y)
            return seen;
    }
    return {static_cast<int32_t>(aim_x), static_cast<int32_t>(aim_y)};
}

// The game hears of a button with the view pixel the pad aims at: a shot goes there, wherever
// the mouse left the pointer.
void tell(PadButton button, bool pressed) {
    const PlatformWindow* main = first_window();
    const ScreenPoint aim = pointer();
    const SDL_Point on = nearest_view_pixel(main->place, {aim.x, aim.y});
    post_message(first_window(), MessageKind::pad_button,
                 static_cast<uint32_t>(button) | (pressed ? pad_pressed : 0),
                 make_lparam(on.x, on.y));
}

// SDL's buttons in the order of PadButton; the right trigger is the game's own.
bool pad_button_of(Uint8 sdl_button, PadButton* button) {
    if (sdl_button > SDL_CONTROLLER_BUTTON_DPAD_RIGHT)
        return false;
    *button = static_cast<PadButton>(sdl_button);
    return true;
}

// The pointer goes where the pad puts it, and the game is told so even where the desktop does
// not let a program move the pointer (Wayland). A warp does nothing while the pointer is held
// to a rectangle, which is let go for it.
void move_pointer_to(ScreenPoint point) {
    SDL_Window* window = first_window()->sdl_window;
    const SDL_Point at = in_window(point);
    const SDL_Rect* held = SDL_GetWindowMouseRect(window);
    const SDL_Rect kept = held != nullptr ? *held : SDL_Rect{};
    if (held != nullptr)
        SDL_SetWindowMouseRect(window, nullptr);
    SDL_WarpMouseInWindow(window, at.x, at.y);
    if (held != nullptr)
        SDL_SetWindowMouseRect(window, &kept);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = first_window()->id;
    event.motion.x = at.x;
    event.motion.y = at.y;
    SDL_PushEvent(&event);
}

// The stick pushed furthest, of any pad, moves the pointer, faster the further it is pushed,
// and never out of the main view.
void aim(double seconds) {
    double x = 0, y = 0, reach = dead_zone;
    for (const Pad& pad : pads)
        for (const auto& [across, down] :
             {std::pair{SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY},
              std::pair{SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY}}) {
            const double sx = SDL_GameControllerGetAxis(pad.controller, across) / 32767.0;
            const double sy = SDL_GameControllerGetAxis(pad.controller, down) / 32767.0;
            if (std::hypot(sx, sy) > reach)
                x = sx, y = sy, reach = std::hypot(sx, sy);
        }
    if (reach <= dead_zone) {
        if (aiming)
            left_at = pointer_seen();
        aiming = false;
        return;
    }
    const ScreenPoint was = pointer();
    if (!aiming)
        aim_x = was.x, aim_y = was.y;
    aiming = true;
    const double push = std::min((reach - dead_zone) / (1 - dead_zone), 1.0);
    const double step = full_speed * push * push * seconds / reach;
    const PlatformWindow* main = first_window();
    aim_x = std::clamp(aim_x + x * step, 0.0, main->place.view_width - 1.0);
    aim_y = std::clamp(aim_y + y * step, 0.0, main->place.view_height - 1.0);
    if (const ScreenPoint now = pointer(); now.x != was.x || now.y != was.y)
        move_pointer_to(now);
}

std::vector<Pad>::iterator find_pad(SDL_JoystickID id) {
    return std::find_if(pads.begin(), pads.end(), [&](const Pad& p) { return p.id == id; });
}

void take(const SDL_Event& event) {
    PadButton button{};
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which))
            pads.push_back({controller,
                            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)),
                            false});
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (const auto pad = find_pad(event.cdevice.which); pad != pads.end()) {
            SDL_GameControllerClose(pad->controller);
            pads.erase(pad);
            post_message(first_window(), MessageKind::pad_removed, 0, 0);
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (pad_button_of(event.cbutton.button, &button))
            tell(button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        // Pressed once a pull of the trigger.
        if (const auto pad = find_pad(event.caxis.which);
            pad != pads.end() && event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
            const bool held =
                event.caxis.value >= (pad->trigger_held ? trigger_let_go : trigger_pulled);
            if (held != pad->trigger_held)
                tell(PadButton::right_trigger, held);
            pad->trigger_held = held;
        }
        break;
    default:
        break;
    }
}

} // namespace

void step_pads() {
    if (first_window() == nullptr)
        return;
    // Pads are opened once SDL runs, and again should it be started anew; where they cannot
    // be, the game goes on without them.
    static bool unavailable = false;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        pads.clear();
        unavailable = unavailable || SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0;
    }
    if (unavailable)
        return;
    SDL_PumpEvents();
    SDL_Event events[16];
    for (int count = 0; (count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                                                SDL_CONTROLLERDEVICEREMAPPED)) > 0;)
        std::for_each(events, events + count, take);
    const Uint64 now = SDL_GetPerformanceCounter();
    const double seconds =
        static_cast<double>(now - last_step) / static_cast<double>(SDL_GetPerformanceFrequency());
    last_step = now;
    aim(std::min(seconds, 0.05)); // a stall does not throw the pointer across the view
}
