// The fixture of the SDL platform tests.
#include "tests/integration/sdl_fixture.h"

#include "platform/sdl/sdl_windows.h"

std::vector<Message> sent_messages;

namespace {

uint32_t record(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    sent_messages.push_back({window, kind, wparam, lparam});
    return 0;
}

} // namespace

void SdlTest::SetUp() {
    sent_messages.clear();
    ASSERT_TRUE(open_platform());
    register_window_class("recording", record, CursorShape::arrow);
}

void SdlTest::TearDown() {
    close_all_windows();
    SDL_Quit();
}

WindowHandle SdlTest::make_recording_window(const char* title, int32_t width, int32_t height) {
    return create_window("recording", title, use_default_position, use_default_position, width,
                         height);
}

std::vector<Message> SdlTest::drain() {
    std::vector<Message> messages;
    Message message{};
    while (peek_message(&message))
        messages.push_back(message);
    return messages;
}

uint32_t sdl_window_id(WindowHandle window) {
    return window->id;
}
