// SDL events become the game's window messages: keys with their virtual keys and set-1 scan
// codes, system keys, the mouse, moves, sizes, minimising, focus across the two windows,
// closing and quitting; and the key hook sees the key messages the queue hands out.
#include "tests/integration/sdl_fixture.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

#include "app/key_hook.h"
#include "platform/input.h"
#include "platform/sdl/sdl_windows.h"
#include "store/hiscores.h"
#include "world/state.h"

namespace {

class EventsTest : public SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        main = make_window("main", 400, 400);
        gun = make_window("gun", 100, 150);
        ASSERT_NE(gun, nullptr);
        show_window(main, true);
        show_window(gun, true);
        drain();
    }
    void key(uint32_t type, SDL_Scancode scancode, SDL_Keycode sym, uint16_t mod = 0,
             uint8_t repeat = 0) {
        SDL_Event e{};
        e.type = type;
        e.key.windowID = gun->id; // the keys are the main window's all the same
        e.key.repeat = repeat;
        e.key.keysym = {scancode, sym, mod, 0};
        SDL_PushEvent(&e);
    }
    void window(WindowHandle w, SDL_WindowEventID id, int32_t a = 0, int32_t b = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = w->id;
        e.window.event = id;
        e.window.data1 = a;
        e.window.data2 = b;
        SDL_PushEvent(&e);
    }
    void mouse(uint32_t type, uint8_t button, int32_t x, int32_t y) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION)
            e.motion = {type, 0, main->id, 0, 0, x, y, 0, 0};
        else
            e.button = {type, 0, main->id, 0, button, SDL_PRESSED, 1, 0, x, y};
        SDL_PushEvent(&e);
    }
    WindowHandle main = nullptr, gun = nullptr;
};

TEST_F(EventsTest, KeysBecomeKeyMessages) {
    // scancode, key, modifiers, repeat; then the message of its press, or of its release
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        uint16_t mod;
        bool up;
        const char* expected;
    };
    const Case cases[] = {
        {SDL_SCANCODE_P, SDLK_p, 0, false, "key_down main 50 00190001"},
        {SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT, true, "key_up main 41 c01e0001"},
        {SDL_SCANCODE_7, SDLK_7, 0, true, "key_up main 37 c0080001"},
        {SDL_SCANCODE_F12, SDLK_F12, 0, true, "key_up main 7b c0580001"},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, false, "key_down main d 019c0001"},
        {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 0, false, "key_down main 6f 01b50001"},
        {SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, 0, false, "key_down main 6a 00370001"},
        {SDL_SCANCODE_KP_5, SDLK_KP_5, 0, false, "key_down main 65 004c0001"},
        {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, 0, false, "key_down main dc 002b0001"},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, 0, false, "key_down main 20 00390001"},
        {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, 0, false, "key_down main 21 01c90001"},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, 0, false, "key_down main 10 00360001"},
        {SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT, true, "sys_up main 73 c03e0001"},
        {SDL_SCANCODE_F10, SDLK_F10, 0, true, "sys_up main 79 c0440001"},
        {SDL_SCANCODE_LALT, SDLK_LALT, 0, false, "sys_down main 12 00380001"},
        {SDL_SCANCODE_F11, SDLK_F11, 0, true, "key_up main 7a c0570001"},
        {SDL_SCANCODE_INTERNATIONAL1, SDLK_UNKNOWN, 0, true, "key_up main ff c0000001"},
    };
    static std::vector<std::string> hooked; // the key hook sees every key message handed out
    hooked.clear();
    HookHandle hook = set_key_hook([](int32_t, uint32_t, uint32_t lparam) {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", lparam);
        hooked.push_back(hex);
        return 0;
    });
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        key(c.up ? SDL_KEYUP : SDL_KEYDOWN, c.scancode, c.sym, c.mod);
        expected.push_back(c.expected);
    }
    key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, 0, 1); // a repeat: already down
    expected.push_back("key_down main 41 401e0001");
    EXPECT_EQ(drain(), expected);
    // Watching a recorded game, the keys are the watcher's: the game's hook hears none of them,
    // and the pointer is not held.
    set_watching(true);
    key(SDL_KEYUP, SDL_SCANCODE_P, SDLK_p);
    EXPECT_EQ(drain(), std::vector<std::string>{"key_up main 50 c0190001"});
    const ScreenRect field{0, 0, 400, 400};
    clip_cursor(&field);
    EXPECT_EQ(SDL_GetWindowMouseRect(main->sdl_window), nullptr);
    set_watching(false);
    unhook_key_hook(hook);
    ASSERT_EQ(hooked.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(hooked[i], expected[i].substr(expected[i].size() - 8));
}

TEST_F(EventsTest, WindowsMouseFocusAndQuitting) {
    for (WindowHandle w : {main, gun}) { // seen, and up for a while
        window(w, SDL_WINDOWEVENT_EXPOSED);
        w->state.mapping_until = 0;
    }
    drain();
    present_windows(); // as the pass that follows shows its frame
    window(main, SDL_WINDOWEVENT_MOVED, 70, 80);
    // Given a larger size by the window manager, the view lies in its middle: the game hears
    // of the view's new place, and the mouse over the margin is at the view's nearest pixel.
    SDL_SetWindowSize(main->sdl_window, 600, 500);
    window(gun, SDL_WINDOWEVENT_MINIMIZED);
    window(gun, SDL_WINDOWEVENT_RESTORED);
    mouse(SDL_MOUSEMOTION, 0, 123, 321);
    mouse(SDL_MOUSEMOTION, 0, 590, 60); // past the right edge: the last column
    mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 6);
    mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 5, 6);
    mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6); // beside the view: no shot
    mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 110, 60);
    window(main, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(drain(), std::vector<std::string>({"moved main 0 008200aa", "sized gun 1 00000000",
                                                 "sized gun 0 00960064", "mouse main 0 010f0017",
                                                 "mouse main 0 000a018f", "button main 0 000a000a",
                                                 "activate main 1 00000000"}));
    // The focus moving to our other window is no deactivation; leaving both is.
    window(main, SDL_WINDOWEVENT_FOCUS_LOST);
    window(gun, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(drain().empty());
    window(gun, SDL_WINDOWEVENT_FOCUS_LOST);
    window(gun, SDL_WINDOWEVENT_CLOSE); // the gun window cannot be closed
    window(main, SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(drain(), std::vector<std::string>({"destroy main 0 00000000", "quit none 0 00000000",
                                                 "activate main 0 00000000"}));
    // Minimised, the game is inactive even with the focus in its windows; SIGTERM closes it.
    window(main, SDL_WINDOWEVENT_MINIMIZED);
    window(gun, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(drain(), std::vector<std::string>({"sized main 1 00000000"}));
    window(main, SDL_WINDOWEVENT_RESTORED);
    EXPECT_EQ(drain(),
              std::vector<std::string>({"sized main 0 01900190", "activate main 1 00000000"}));
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::raise(signal);
        EXPECT_EQ(drain(), std::vector<std::string>({"destroy main 0 00000000"})) << signal;
    }
}

// A pad, as SDL's virtual joystick: its buttons are told with where it aims, its stick moves the
// pointer within the view, its trigger is pressed once a pull, and its removal is told.
class PadTest : public EventsTest {
  protected:
    void SetUp() override {
        // The dummy driver gives no window the focus, without which pads are not heard.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        EventsTest::SetUp();
        pad = attach();
    }
    // A new pad, once the platform has taken it in.
    SDL_Joystick* attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        SDL_Joystick* joystick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        drain();
        return joystick;
    }
    void pull_out(SDL_Joystick* joystick) {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(joystick))
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joystick);
    }
    // Presses and lets go of a button; what the queue then hands out.
    std::string press(SDL_GameControllerButton button, SDL_Joystick* on = nullptr) {
        SDL_JoystickSetVirtualButton(on ? on : pad, button, 1);
        std::string text;
        for (const std::string& line : drain())
            text += line + ";";
        SDL_JoystickSetVirtualButton(on ? on : pad, button, 0);
        for (const std::string& line : drain())
            text += line + ";";
        return text;
    }
    // Holds the stick until the pointer stops; where it stopped and how many moves it made.
    std::pair<std::string, int> push_stick(Sint16 x, Sint16 y) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, x);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY, y);
        std::string last = "none";
        int moves = 0;
        for (int quiet = 0; quiet < 20 && moves < 1000; SDL_Delay(5))
            for (quiet++; const std::string& line : drain())
                if (line.rfind("mouse", 0) == 0 && line != last) {
                    last = line;
                    quiet = 0;
                    ++moves;
                }
        return {last, moves};
    }
    SDL_Joystick* pad = nullptr;
};

TEST_F(PadTest, ButtonsStickAndTrigger) {
    // Each button down and up, as the game's own buttons, with where the pad aims: where the
    // pointer is, at the corner until the stick moves it.
    const std::pair<SDL_GameControllerButton, const char*> buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, "pad main 100 00000000;pad main 0 00000000;"},
        {SDL_CONTROLLER_BUTTON_START, "pad main 106 00000000;pad main 6 00000000;"},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, "pad main 10e 00000000;pad main e 00000000;"},
        {SDL_CONTROLLER_BUTTON_MISC1, ""},
    };
    for (const auto& [button, expected] : buttons)
        EXPECT_EQ(press(button), expected) << button;
    // Within the dead zone the pointer stays; pushed, it goes to the view's edges and no further.
    EXPECT_EQ(push_stick(5500, -5500).second, 0);
    EXPECT_EQ(push_stick(-32768, -32768).first, "mouse main 0 00000000");
    const auto [right, moves] = push_stick(32767, 0);
    EXPECT_EQ(right, "mouse main 0 0000018f");
    EXPECT_GT(moves, 20); // in steps, not in one leap
    EXPECT_EQ(push_stick(0, 32767).first, "mouse main 0 018f018f");
    EXPECT_EQ(push_stick(0, 0).second, 0);
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_A), "pad main 100 018f018f;pad main 0 018f018f;");
    // The trigger is pressed once a pull, however long it is held, and let go only when it is
    // nearly back (its travel runs from -32768 up).
    std::vector<std::string> pulls;
    for (const Sint16 travel : {32767, 0, 32767, -32768, 32767}) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, travel);
        for (const std::string& line : drain())
            pulls.push_back(line);
    }
    EXPECT_EQ(pulls, std::vector<std::string>({"pad main 10f 018f018f", "pad main f 018f018f",
                                               "pad main 10f 018f018f"}));
}

TEST_F(PadTest, PadsPulledOutAreTold) {
    // Plugged in and pulled out, many times over, two pads at once: each is told as it goes.
    SDL_Joystick* second = attach();
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_B, second).substr(0, 4), "pad ");
    std::vector<std::string> heard;
    for (int i = 0; i < 20; ++i) {
        pull_out(pad);
        for (const std::string& line : drain())
            heard.push_back(line);
        pad = attach();
    }
    pull_out(second);
    EXPECT_EQ(heard, std::vector<std::string>(20, "pad_gone main 0 00000000"));
}

} // namespace
