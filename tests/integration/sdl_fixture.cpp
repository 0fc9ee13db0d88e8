// The fixture of the SDL platform tests.
#include "tests/integration/sdl_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/sdl/sdl_windows.h"

std::vector<std::string> sent;

std::string describe(const Message& m) {
    static const char* kinds[] = {"moved",   "sized",    "paint",  "activate", "key_down",
                                  "key_up",  "sys_down", "sys_up", "mouse",    "button",
                                  "destroy", "quit",     "pad",    "pad_gone"};
    char text[96];
    std::snprintf(text, sizeof text, "%s %s %x %08x", kinds[static_cast<int>(m.kind)],
                  m.window == nullptr               ? "none"
                  : m.window->sdl_window == nullptr ? "inside"
                                                    : SDL_GetWindowTitle(m.window->sdl_window),
                  m.wparam, m.lparam);
    return text;
}

void SdlTest::SetUp() {
    sent.clear();
    previous = std::filesystem::current_path();
    char name[] = "/tmp/zarnok-sdl-XXXXXX";
    folder = mkdtemp(name);
    std::filesystem::current_path(folder);
    ASSERT_TRUE(open_platform());
    register_window_class(
        "recording",
        [](WindowHandle w, MessageKind k, uint32_t wparam, uint32_t lparam) {
            sent.push_back(describe({w, k, wparam, lparam}));
            return 0u;
        },
        CursorShape::arrow);
}

void SdlTest::TearDown() {
    close_all_windows();
    arrange_windows(WindowArrangement::automatic);
    choose_renderer(RendererChoice::automatic);
    SDL_Quit();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

WindowHandle SdlTest::make_window(const char* title, int32_t width, int32_t height) {
    return create_window("recording", title, use_default_position, use_default_position, width,
                         height);
}

std::vector<std::string> SdlTest::drain() {
    std::vector<std::string> messages;
    Message message{};
    while (peek_message(&message))
        messages.push_back(describe(message));
    return messages;
}
