// Windows on SDL: what their procedures are told, and drawing onto them.
#include "tests/integration/sdl_fixture.h"

#include <cstring>

#include "platform/canvas.h"

namespace {

using WindowsTest = SdlTest;

TEST_F(WindowsTest, CreationAndMovesAreToldAtOnce) {
    WindowHandle window = make_recording_window("one", 120, 90);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(sent_messages.size(), 2u);
    EXPECT_EQ(sent_messages[0].kind, MessageKind::sized);
    EXPECT_EQ(sent_messages[0].wparam, size_restored);
    EXPECT_EQ(low_word(sent_messages[0].lparam), 120u);
    EXPECT_EQ(high_word(sent_messages[0].lparam), 90u);
    EXPECT_EQ(sent_messages[1].kind, MessageKind::moved);

    sent_messages.clear();
    move_window(window, 33, 44, 200, 150);
    ASSERT_EQ(sent_messages.size(), 2u);
    EXPECT_EQ(low_word(sent_messages[0].lparam), 200u);
    EXPECT_EQ(high_word(sent_messages[0].lparam), 150u);
    EXPECT_EQ(low_word(sent_messages[1].lparam), 33u);
    EXPECT_EQ(high_word(sent_messages[1].lparam), 44u);
    destroy_window(window);
}

TEST_F(WindowsTest, AnUnknownClassMakesNoWindow) {
    EXPECT_EQ(create_window("nosuchclass", "x", 0, 0, 10, 10), nullptr);
}

TEST_F(WindowsTest, TheWindowSurfaceTakesOurPixelsAndShowsThem) {
    WindowHandle window = make_recording_window("surface", 64, 48);
    show_window(window, true);
    Canvas* canvas = get_window_canvas(window);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->width, 64);
    EXPECT_EQ(canvas->height, 48);
    EXPECT_GE(canvas->pitch, 64);
    EXPECT_EQ(canvas->text_colour, rgb(0, 0, 0));
    EXPECT_EQ(canvas->background_mode, BackgroundMode::opaque);

    Canvas* back = create_back_buffer(64, 48);
    fill_rect(back, 10, 5, 20, 15, rgb(250, 186, 150));
    copy_block(canvas, back, 64, 48);
    release_window_canvas(window, canvas);

    SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(sdl_window_id(window)));
    ASSERT_NE(surface, nullptr);
    uint8_t r = 0, g = 0, b = 0;
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + 7 * surface->pitch;
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + 12 * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    EXPECT_EQ(r, 250);
    EXPECT_EQ(g, 186);
    EXPECT_EQ(b, 150);
    delete_back_buffer(back);
    destroy_window(window);
}

TEST_F(WindowsTest, TheScreenSizeIsKnownAndFramesAreNil) {
    const SystemMetrics metrics = system_metrics();
    EXPECT_GT(metrics.screen_width, 0);
    EXPECT_GT(metrics.screen_height, 0);
    EXPECT_EQ(metrics.caption_height, 0);
    EXPECT_EQ(metrics.dialog_frame_x + metrics.edge_x + metrics.border_x, 0);
}

} // namespace
