// What each pass of the main loop does in each state, and the overlay it writes.
#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/main_loop.h"
#include "app/random.h"
#include "app/state.h"
#include "game/entities.h"
#include "platform/key_codes.h"
#include "store/hiscores.h"
#include "tests/unit/game_fixture.h"

namespace {

class MainLoopTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        spawn_interval = 1000000; // spawn_counter then counts the ticks
    }
    // One pass after some time has gone by; the ticks it ran.
    int32_t pass_after(int64_t counts) {
        fake::state().counter += counts;
        fake::state().texts.clear();
        const int32_t before = spawn_counter;
        idle_work();
        return spawn_counter - before;
    }
    int32_t main_presents() const { return fake::window_titled("Zarnok 3D v1.01")->presents; }
    int32_t gun_presents() const { return fake::window_titled("Gun")->presents; }
    std::vector<TextCall> overlay_texts() const {
        return fake::texts_on(fake::window_titled("Zarnok 3D v1.01")->surface);
    }
};

TEST_F(MainLoopTest, PlayingRunsTicksAndDrawsBothViewsWithoutOverlay) {
    const int32_t main_before = main_presents(), gun_before = gun_presents();
    EXPECT_EQ(pass_after(10001), 1);
    EXPECT_EQ(main_presents(), main_before + 1);
    EXPECT_EQ(gun_presents(), gun_before + 1);
    EXPECT_TRUE(overlay_texts().empty());
    EXPECT_NE(fake::find_text("POINTS:"), nullptr);
}

TEST_F(MainLoopTest, PausedDrawsFramesAndAChangingOverlayButRunsNoTicks) {
    pass_after(10001);
    press_and_release(vk_letter('P'));
    const int32_t before = main_presents();
    EXPECT_EQ(pass_after(500000), 0);
    EXPECT_EQ(main_presents(), before + 2); // the frame, then the overlay over it
    const auto texts = overlay_texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "P A U S E D");
    EXPECT_EQ(texts[2].text, "press 'p' to resume");
    const Colour first_colour = texts[0].colour;
    pass_after(1);
    EXPECT_NE(overlay_texts()[0].colour, first_colour);
}

TEST_F(MainLoopTest, OverlayThickensItsFirstLineAndCentresBoth) {
    game_over = 1;
    pass_after(1);
    const auto texts = overlay_texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "G A M E   O V E R");
    EXPECT_EQ(texts[1].text, "G A M E   O V E R");
    EXPECT_EQ(texts[2].text, "press F2 to restart");
    EXPECT_EQ(texts[0].x, 200);
    EXPECT_EQ(texts[0].y, 175);
    EXPECT_EQ(texts[1].x, 199);
    EXPECT_EQ(texts[1].y, 174);
    EXPECT_EQ(texts[2].x, 200);
    EXPECT_EQ(texts[2].y, 195);
    for (const auto& text : texts) {
        EXPECT_EQ(text.align, TextAlign::centre_top);
        EXPECT_EQ(text.mode, BackgroundMode::transparent);
    }
}

TEST_F(MainLoopTest, OverlayColoursComeFromTheSharedGenerator) {
    game_over = 1;
    const uint32_t seed = 424242;
    seed_random(seed);
    spawn_counter = 0;
    fake::state().counter += 1; // no tick is due
    fake::state().texts.clear();
    idle_work();
    // The aim line takes 30 draws; the overlay the next three: green, red, blue.
    seed_random(seed);
    for (int i = 0; i < 30; ++i)
        next_random();
    const int32_t green = next_random() % 256;
    const int32_t red = next_random() % 256;
    const int32_t blue = next_random() % 256;
    ASSERT_FALSE(overlay_texts().empty());
    EXPECT_EQ(
        overlay_texts()[0].colour,
        rgb(static_cast<uint32_t>(red), static_cast<uint32_t>(green), static_cast<uint32_t>(blue)));
}

TEST_F(MainLoopTest, GameOverKeepsTheTicksRunning) {
    game_over = 1;
    EXPECT_EQ(pass_after(10001), 1); // the tick that loads the music leaves -1 due
    EXPECT_EQ(pass_after(10001), 0);
    EXPECT_EQ(pass_after(30001), 3);
}

TEST_F(MainLoopTest, ANewHiScoreShowsTheRankAndTheNameSoFar) {
    game_over = 1;
    entering_name = 1;
    new_rank = 0;
    std::snprintf(hiscores[0].name, sizeof hiscores[0].name, "Ann");
    pass_after(1);
    const auto texts = overlay_texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "THAT'S A NEW HI-SCORE!  YOU RANK #1!");
    EXPECT_EQ(texts[2].text, "Enter your name: Ann");
    hiscores[0].name[0] = '\0';
    pass_after(1);
    EXPECT_EQ(overlay_texts()[2].text, "Enter your name: ");
}

TEST_F(MainLoopTest, ASideScreenAloneIsDrawnWithNoTicksAndNoOverlay) {
    paused = 1;
    press_and_release(vk_f7);
    const int32_t gun_before = gun_presents();
    const int32_t main_before = main_presents();
    EXPECT_EQ(pass_after(100000), 0);
    EXPECT_EQ(gun_presents(), gun_before);
    EXPECT_EQ(main_presents(), main_before + 1);
    EXPECT_TRUE(overlay_texts().empty());
    EXPECT_NE(fake::find_text("Zarnok3D v1.01"), nullptr);
    EXPECT_EQ(fake::find_text("POINTS:"), nullptr);
}

class EntryTest : public GameTest {};

TEST_F(EntryTest, EntryRoutineEndsOnAQuitMessageWithItsParameter) {
    fake::state().queue.push_back({nullptr, MessageKind::quit, 3, 0});
    EXPECT_EQ(entry_routine(), 3);
    EXPECT_EQ(quit_requested, 1);
    EXPECT_FALSE(fake::state().cursor_visible);
}

TEST_F(EntryTest, WhileInactiveTheLoopWaitsAndDrawsNothing) {
    // No activation ever arrives; the first wait lets a quit message in.
    fake::state().on_wait = [] {
        fake::state().queue.push_back({nullptr, MessageKind::quit, 0, 0});
    };
    EXPECT_EQ(entry_routine(), 0);
    EXPECT_EQ(fake::calls_starting("wait_for_message").size(), 1u);
    EXPECT_EQ(fake::window_titled("Zarnok 3D v1.01")->presents, 0);
    EXPECT_EQ(fake::window_titled("Gun")->presents, 0);
}

} // namespace
