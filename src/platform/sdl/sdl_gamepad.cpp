// Game controllers on SDL. A stick moves the pointer, A or the right trigger clicks, the other
// buttons press the keys of the commands, and while the game takes a typed name the D-pad types
// it: the game hears of a pad only as of a mouse and a keyboard.
#include "platform/sdl/sdl_gamepad.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/input.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_windows.h"
#include "platform/us_keyboard.h"

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

// What the game shows, and while a name is typed: when the typing began, the character being
// chosen (an index into typed_order, or -1), the D-pad button held down, which steps again and
// again, and since when Start has been held on a name still empty.
PadScene scene = PadScene::play;
bool name_empty = true;
Uint64 naming_began;
int chosen = -1;
int held_button = SDL_CONTROLLER_BUTTON_INVALID;
Uint64 held_since, repeat_at;
Uint64 start_held_since;

// A press of A in the last second of play was meant as a shot, not as the name's end; and an
// empty name takes Start held for a second, not a press by chance.
constexpr Uint64 naming_calm = 1000, empty_name_hold = 1000;
// The D-pad steps again after 400 ms held, every 100 ms, and from a second on every 30 ms.
constexpr Uint64 first_repeat = 400, slow_repeat = 100, fast_repeat = 30, fast_after = 1000;

// Every character the keyboard types, in the order the D-pad steps through them.
constexpr char typed_order[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 "
                               "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
constexpr int typed_count = sizeof typed_order - 1;

struct Key {
    SDL_Scancode code;
    SDL_Keycode key;
};
constexpr Key key_p{SDL_SCANCODE_P, SDLK_p}, key_f1{SDL_SCANCODE_F1, SDLK_F1},
    key_f2{SDL_SCANCODE_F2, SDLK_F2}, key_f5{SDL_SCANCODE_F5, SDLK_F5},
    key_f7{SDL_SCANCODE_F7, SDLK_F7}, key_enter{SDL_SCANCODE_RETURN, SDLK_RETURN},
    key_backspace{SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE};

// The keys the other buttons press. A fires; the guide button and the rest do nothing.
struct ButtonKey {
    SDL_GameControllerButton button;
    Key key;
};
constexpr ButtonKey button_keys[] = {
    {SDL_CONTROLLER_BUTTON_B, {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE}},
    {SDL_CONTROLLER_BUTTON_Y, key_f2},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN}},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP}},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, {SDL_SCANCODE_HOME, SDLK_HOME}},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {SDL_SCANCODE_END, SDLK_END}},
};

void push_key(Key key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = first_window()->id;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key.code;
    event.key.keysym.sym = key.key;
    SDL_PushEvent(&event);
}

void press(Key key, bool shifted = false) {
    constexpr Key shift{SDL_SCANCODE_LSHIFT, SDLK_LSHIFT};
    if (shifted)
        push_key(shift, true);
    push_key(key, true);
    push_key(key, false);
    if (shifted)
        push_key(shift, false);
}

// Presses the key that types `c` on a US keyboard, as the name entry reads it.
void type(char c) {
    int32_t scan_code = 0;
    bool shifted = false;
    if (!char_to_scan_code(c, &scan_code, &shifted))
        return;
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code)
        if (set1_scan_code_of(static_cast<SDL_Scancode>(code)) ==
            static_cast<uint32_t>(scan_code)) {
            press({static_cast<SDL_Scancode>(code), scan_code_to_char(scan_code, false)}, shifted);
            return;
        }
}

// Up and down replace the character being chosen by the next or the one before; the first
// one chosen is A, whichever way.
void step_character(int step) {
    if (chosen >= 0)
        press(key_backspace);
    chosen = chosen < 0 ? 0 : (chosen + step + typed_count) % typed_count;
    type(typed_order[chosen]);
}

void end_name() {
    press(key_enter);
    chosen = -1;
}

// The D-pad types while a name is taken: up and down choose a character, right moves on to the
// next, left takes one back; A and Start save the name. False for the buttons it leaves alone.
bool type_with(int button) {
    const Uint64 now = SDL_GetTicks64();
    const bool name_started = !name_empty || chosen >= 0;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        step_character(button == SDL_CONTROLLER_BUTTON_DPAD_UP ? 1 : -1);
        held_button = button;
        held_since = now;
        repeat_at = now + first_repeat;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        chosen = -1;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        press(key_backspace);
        chosen = -1;
        return true;
    case SDL_CONTROLLER_BUTTON_A:
        if (name_started && now >= naming_began + naming_calm)
            end_name();
        return true;
    case SDL_CONTROLLER_BUTTON_START:
        if (name_started)
            end_name();
        else
            start_held_since = now;
        return true;
    default:
        return false;
    }
}

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

void click() {
    // A pad aims within the view: its shot is taken at the view's nearest pixel, wherever the
    // mouse left the pointer.
    const PlatformWindow* main = first_window();
    const ScreenPoint aim = pointer();
    const SDL_Point on = nearest_view_pixel(main->place, {aim.x, aim.y});
    const SDL_Point at = in_window({on.x, on.y});
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = first_window()->id;
    event.button.which = pad_mouse_id;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    event.button.clicks = 1;
    event.button.x = at.x;
    event.button.y = at.y;
    SDL_PushEvent(&event);
}

void button_down(int button) {
    if (scene == PadScene::naming && type_with(button))
        return;
    if (button == SDL_CONTROLLER_BUTTON_A)
        click();
    // Start pauses, and at a game over starts the next; Back goes through the side screens.
    if (button == SDL_CONTROLLER_BUTTON_START)
        press(scene == PadScene::game_ended ? key_f2 : key_p);
    if (button == SDL_CONTROLLER_BUTTON_BACK)
        press(scene == PadScene::help_page ? key_f5 : scene == PadScene::hiscore_table ? key_f7 : key_f1);
    for (const ButtonKey& k : button_keys)
        if (k.button == button)
            press(k.key);
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
            // A pad lost in play pauses the game; anywhere else it is let go quietly.
            if (scene == PadScene::play)
                press(key_p);
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        button_down(event.cbutton.button);
        break;
    case SDL_CONTROLLERBUTTONUP:
        if (event.cbutton.button == held_button)
            held_button = SDL_CONTROLLER_BUTTON_INVALID;
        if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START)
            start_held_since = 0;
        break;
    case SDL_CONTROLLERAXISMOTION:
        // One click a pull of the trigger.
        if (const auto pad = find_pad(event.caxis.which);
            pad != pads.end() && event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
            if (!pad->trigger_held && event.caxis.value >= trigger_pulled)
                click();
            pad->trigger_held =
                event.caxis.value >= (pad->trigger_held ? trigger_let_go : trigger_pulled);
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
    const Uint64 ticks = SDL_GetTicks64();
    if (held_button != SDL_CONTROLLER_BUTTON_INVALID && ticks >= repeat_at) {
        step_character(held_button == SDL_CONTROLLER_BUTTON_DPAD_UP ? 1 : -1);
        repeat_at += ticks - held_since >= fast_after ? fast_repeat : slow_repeat;
    }
    if (start_held_since != 0 && ticks >= start_held_since + empty_name_hold) {
        start_held_since = 0;
        end_name();
    }
    const Uint64 now = SDL_GetPerformanceCounter();
    const double seconds =
        static_cast<double>(now - last_step) / static_cast<double>(SDL_GetPerformanceFrequency());
    last_step = now;
    aim(std::min(seconds, 0.05)); // a stall does not throw the pointer across the view
}

void set_pad_scene(PadScene now_shown, bool name_is_empty) {
    name_empty = name_is_empty;
    if (now_shown == scene)
        return;
    if (now_shown == PadScene::naming)
        naming_began = SDL_GetTicks64();
    scene = now_shown;
    chosen = -1;
    held_button = SDL_CONTROLLER_BUTTON_INVALID;
    start_held_since = 0;
}
