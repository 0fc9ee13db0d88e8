// The cursor while playing and paused, activation and deactivation, minimising, the key hook.
#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/key_hook.h"
#include "app/state.h"
#include "app/window_procs.h"
#include "platform/key_codes.h"
#include "tests/unit/game_fixture.h"

namespace {

class CursorTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        fake::state().log.clear();
    }
    void release(uint32_t key) { send_to_main(MessageKind::key_up, key, 1 | (3u << 30)); }
};

TEST_F(CursorTest, PausingFreesAndShowsTheCursorAndResumingPutsItBack) {
    fake::state().cursor = {400, 300};
    release(vk_letter('P'));
    EXPECT_EQ((std::vector<std::string>{"get_cursor_pos", "clip_cursor null", "show_cursor 1"}),
              fake::state().log);
    fake::state().log.clear();
    fake::state().cursor = {10, 10};
    fake::state().counter += 123456;
    release(vk_letter('P'));
    const std::string clip =
        "clip_cursor " + std::to_string(cursor_clip.left) + " " + std::to_string(cursor_clip.top) +
        " " + std::to_string(cursor_clip.right) + " " + std::to_string(cursor_clip.bottom);
    EXPECT_EQ((std::vector<std::string>{"set_cursor_pos 400 300", clip, "show_cursor 0"}),
              fake::state().log);
    EXPECT_EQ(clock_last, fake::state().counter); // the clock restarted
    EXPECT_EQ(ticks_due, 0);
}

TEST_F(CursorTest, ClipRectangleIsTheClientAreaLessTheFrameMeasures) {
    fake::state().metrics = {1024, 768, 19, 3, 2, 1, 3, 2, 1};
    send_to_main(MessageKind::moved, 0, make_lparam(100, 50));
    EXPECT_EQ(cursor_clip.left, 100);
    EXPECT_EQ(cursor_clip.top, 50);
    EXPECT_EQ(cursor_clip.right, 100 + 400 - 3 - 2 - 1);
    EXPECT_EQ(cursor_clip.bottom, 50 + 400 - 3 - 2 - 1 - 19 - 1);
    ASSERT_TRUE(fake::state().clip.has_value());
    EXPECT_EQ(fake::state().clip->right, cursor_clip.right);
}

TEST_F(CursorTest, MovingTheWindowConfinesOnlyWhilePlaying) {
    const auto confine_calls = [] { return fake::calls_starting("clip_cursor").size(); };
    send_to_main(MessageKind::moved, 0, make_lparam(10, 20));
    EXPECT_EQ(confine_calls(), 1u);
    for (int32_t* flag : {&paused, &help_shown, &game_over}) {
        *flag = 1;
        fake::state().log.clear();
        send_to_main(MessageKind::moved, 0, make_lparam(30, 40));
        EXPECT_EQ(confine_calls(), 0u);
        EXPECT_EQ(cursor_clip.left, 30); // still brought up to date
        *flag = 0;
    }
}

TEST_F(CursorTest, DeactivationFreesTheCursorAndClearsTheKeys) {
    key_down[30] = 1;
    send_to_main(MessageKind::activate_app, 0);
    EXPECT_EQ(app_active, 0);
    EXPECT_EQ(key_down[30], 0);
    EXPECT_EQ(keyboard_hook, nullptr);
    EXPECT_FALSE(fake::state().clip.has_value());
    EXPECT_FALSE(fake::state().hook_set);
    EXPECT_FALSE(fake::state().cursor_visible); // freed, not shown
}

TEST_F(CursorTest, ActivationConfinesUnlessPaused) {
    send_to_main(MessageKind::activate_app, 0);
    send_to_main(MessageKind::activate_app, 1);
    EXPECT_EQ(app_active, 1);
    EXPECT_TRUE(fake::state().hook_set);
    EXPECT_TRUE(fake::state().clip.has_value());
    release(vk_letter('P'));
    send_to_main(MessageKind::activate_app, 0);
    send_to_main(MessageKind::activate_app, 1);
    EXPECT_FALSE(fake::state().clip.has_value());
}

TEST_F(CursorTest, ActivationValuesOtherThanZeroAndOneDoNothing) {
    send_to_main(MessageKind::activate_app, 2);
    EXPECT_EQ(app_active, 1);
    EXPECT_TRUE(fake::calls_starting("unhook").empty());
}

TEST_F(CursorTest, MinimisingTakesTheGunWindowAlongUntilTheNextActivation) {
    send_to_main(MessageKind::sized, size_minimised, 0);
    EXPECT_EQ(views[main_view].width, 400); // a minimised size is not recorded
    EXPECT_TRUE(fake::window_titled("Gun")->minimised);
    EXPECT_EQ(views[gun_view].minimised, 1);
    send_to_main(MessageKind::activate_app, 0);
    send_to_main(MessageKind::activate_app, 1);
    EXPECT_FALSE(fake::window_titled("Gun")->minimised);
    EXPECT_EQ(views[gun_view].minimised, 0);
}

TEST_F(CursorTest, TheGunWindowRecordsEverySizeEvenAMinimisedOne) {
    send_message(views[gun_view].window, MessageKind::sized, size_minimised, 0);
    EXPECT_EQ(views[gun_view].width, 0);
    EXPECT_EQ(views[gun_view].height, 0);
    send_message(views[gun_view].window, MessageKind::moved, 0, make_lparam(7, 9));
    EXPECT_EQ(views[gun_view].x, 7);
    EXPECT_EQ(views[gun_view].y, 9);
}

TEST_F(CursorTest, TheMouseIsRecordedAsUnsignedHalves) {
    send_to_main(MessageKind::mouse_move, 0, make_lparam(123, 321));
    EXPECT_EQ(views[main_view].mouse_x, 123);
    EXPECT_EQ(views[main_view].mouse_y, 321);
}

TEST_F(CursorTest, TheHookRecordsKeysOnlyWhileInstalled) {
    fake::state().queue.push_back(fake::key_down(vk_letter('A'), 30));
    Message message{};
    ASSERT_TRUE(peek_message(&message));
    EXPECT_EQ(key_down[30], 1);
    fake::state().queue.push_back(fake::key_up(vk_letter('A'), 30));
    ASSERT_TRUE(peek_message(&message));
    EXPECT_EQ(key_down[30], 0);
    send_to_main(MessageKind::activate_app, 0);
    fake::state().queue.push_back(fake::key_down(vk_letter('A'), 30));
    ASSERT_TRUE(peek_message(&message));
    EXPECT_EQ(key_down[30], 0);
}

} // namespace
