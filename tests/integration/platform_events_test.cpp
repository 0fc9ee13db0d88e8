// SDL events become window messages: keys, the mouse, focus across two windows, closing.
#include "tests/integration/sdl_fixture.h"

#include "platform/input.h"
#include "platform/key_codes.h"

namespace {

class EventsTest : public SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        main_window = make_recording_window("main", 400, 400);
        gun_window = make_recording_window("gun", 100, 150);
        ASSERT_NE(main_window, nullptr);
        ASSERT_NE(gun_window, nullptr);
        drain();
    }

    void push_key(uint32_t type, SDL_Scancode scancode, SDL_Keycode key, uint16_t mod = 0,
                  uint8_t repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = sdl_window_id(main_window);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }
    void push_window(WindowHandle window, SDL_WindowEventID id, int32_t a = 0, int32_t b = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = sdl_window_id(window);
        event.window.event = id;
        event.window.data1 = a;
        event.window.data2 = b;
        SDL_PushEvent(&event);
    }
    std::vector<Message> activations() {
        std::vector<Message> found;
        for (const Message& m : drain())
            if (m.kind == MessageKind::activate_app)
                found.push_back(m);
        return found;
    }

    WindowHandle main_window = nullptr;
    WindowHandle gun_window = nullptr;
};

TEST_F(EventsTest, KeysCarryVirtualKeysAndSetOneScanCodes) {
    push_key(SDL_KEYDOWN, SDL_SCANCODE_P, SDLK_p);
    push_key(SDL_KEYUP, SDL_SCANCODE_P, SDLK_p);
    push_key(SDL_KEYUP, SDL_SCANCODE_F5, SDLK_F5);
    push_key(SDL_KEYUP, SDL_SCANCODE_PAGEUP, SDLK_PAGEUP);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].kind, MessageKind::key_down);
    EXPECT_EQ(messages[0].wparam, vk_letter('P'));
    EXPECT_EQ(scan_code_of(messages[0].lparam), 25u);
    EXPECT_FALSE(key_is_going_up(messages[0].lparam));
    EXPECT_EQ(messages[1].kind, MessageKind::key_up);
    EXPECT_TRUE(key_is_going_up(messages[1].lparam));
    EXPECT_EQ(messages[1].window, main_window);
    EXPECT_EQ(messages[2].wparam, vk_f5);
    EXPECT_EQ(scan_code_of(messages[2].lparam), 63u);
    EXPECT_EQ(messages[3].wparam, vk_prior);
}

TEST_F(EventsTest, KeypadEnterAndSlashKeepTheirExtendedBit) {
    push_key(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(scan_code_of(messages[0].lparam), 156u);
    EXPECT_EQ(scan_code_of(messages[1].lparam), 181u);
    EXPECT_EQ(scan_code_of(messages[2].lparam), 55u);
    EXPECT_EQ(scan_code_of(messages[3].lparam), 43u);
}

TEST_F(EventsTest, AltF10AndAltItselfAreSystemKeys) {
    push_key(SDL_KEYUP, SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT);
    push_key(SDL_KEYUP, SDL_SCANCODE_F10, SDLK_F10);
    push_key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT);
    push_key(SDL_KEYUP, SDL_SCANCODE_F1, SDLK_F1, KMOD_LSHIFT);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].kind, MessageKind::sys_key_up);
    EXPECT_EQ(messages[1].kind, MessageKind::sys_key_up);
    EXPECT_EQ(messages[2].kind, MessageKind::sys_key_up);
    EXPECT_EQ(messages[3].kind, MessageKind::key_up);
}

TEST_F(EventsTest, TheHookSeesEveryKeyMessageTheQueueHandsOut) {
    static std::vector<uint32_t> hooked;
    hooked.clear();
    HookHandle hook = set_key_hook([](int32_t, uint32_t, uint32_t lparam) {
        hooked.push_back(lparam);
        return 0;
    });
    ASSERT_NE(hook, nullptr);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, 0, 1);
    push_key(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a, KMOD_LALT);
    drain();
    ASSERT_EQ(hooked.size(), 3u);
    EXPECT_EQ(scan_code_of(hooked[0]), 30u);
    EXPECT_NE(hooked[1] & (1u << 30), 0u); // a repeat: the key was already down
    EXPECT_TRUE(key_is_going_up(hooked[2]));
    unhook_key_hook(hook);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_B, SDLK_b);
    drain();
    EXPECT_EQ(hooked.size(), 3u);
}

TEST_F(EventsTest, FocusMovingBetweenOurWindowsIsNoDeactivation) {
    push_window(main_window, SDL_WINDOWEVENT_FOCUS_GAINED);
    auto found = activations();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].wparam, 1u);
    EXPECT_EQ(found[0].window, main_window);

    push_window(main_window, SDL_WINDOWEVENT_FOCUS_LOST);
    push_window(gun_window, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(activations().empty());

    push_window(gun_window, SDL_WINDOWEVENT_FOCUS_LOST);
    found = activations();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].wparam, 0u);
}

TEST_F(EventsTest, WindowChangesBecomeMovesSizesAndMinimising) {
    push_window(main_window, SDL_WINDOWEVENT_MOVED, 70, 80);
    push_window(gun_window, SDL_WINDOWEVENT_MINIMIZED);
    push_window(main_window, SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].kind, MessageKind::moved);
    EXPECT_EQ(messages[0].lparam, make_lparam(70, 80));
    EXPECT_EQ(messages[1].kind, MessageKind::sized);
    EXPECT_EQ(messages[1].wparam, size_minimised);
    EXPECT_EQ(messages[1].window, gun_window);
    EXPECT_EQ(messages[2].lparam, make_lparam(300, 200));
}

TEST_F(EventsTest, ClosingTheMainWindowDestroysItAndTheGunWindowCannotBeClosed) {
    push_window(gun_window, SDL_WINDOWEVENT_CLOSE);
    EXPECT_TRUE(drain().empty());
    push_window(main_window, SDL_WINDOWEVENT_CLOSE);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::destroy);
    EXPECT_EQ(messages[0].window, main_window);
}

TEST_F(EventsTest, TheMouseMovesAndTheLeftButtonFires) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = sdl_window_id(main_window);
    event.motion.x = 123;
    event.motion.y = 321;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = sdl_window_id(main_window);
    event.button.button = SDL_BUTTON_RIGHT;
    SDL_PushEvent(&event);
    event.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&event);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, MessageKind::mouse_move);
    EXPECT_EQ(messages[0].lparam, make_lparam(123, 321));
    EXPECT_EQ(messages[1].kind, MessageKind::left_button_down);
}

TEST_F(EventsTest, AQuitRequestBecomesAQuitMessage) {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::quit);
    EXPECT_EQ(messages[0].window, nullptr);
}

TEST_F(EventsTest, DispatchAndSendReachTheWindowProcedure) {
    sent_messages.clear();
    dispatch_message({main_window, MessageKind::paint, 0, 0});
    send_message(gun_window, MessageKind::destroy, 0, 0);
    ASSERT_EQ(sent_messages.size(), 2u);
    EXPECT_EQ(sent_messages[0].window, main_window);
    EXPECT_EQ(sent_messages[1].kind, MessageKind::destroy);
}

} // namespace
