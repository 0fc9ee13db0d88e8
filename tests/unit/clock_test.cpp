// The frame clock: carry-over, frame rate, and time thrown away after pauses and absences.
#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/state.h"
#include "game/entities.h"
#include "platform/key_codes.h"
#include "tests/unit/game_fixture.h"

namespace {

class ClockTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        fake::state().frequency = 1000000;
        fake::state().counter = 5000000;
        start_clock();
    }
    void read_after(int64_t counts) {
        fake::state().counter += counts;
        read_clock();
    }
};

TEST_F(ClockTest, TurnsElapsedCountsIntoTicksAndCarriesTheRest) {
    EXPECT_EQ(tick_length, 10000);
    read_after(25001);
    EXPECT_EQ(ticks_due, 2);
    EXPECT_EQ(clock_accumulator, 5001);
}

TEST_F(ClockTest, ExactlyOneTickWaitsForTheNextReading) {
    read_after(10000);
    EXPECT_EQ(ticks_due, 0);
    EXPECT_EQ(clock_accumulator, 10000);
    read_after(1);
    EXPECT_EQ(ticks_due, 1);
    EXPECT_EQ(clock_accumulator, 1);
}

TEST_F(ClockTest, FrameRateIsTheLastFrameAloneTruncated) {
    read_after(16667);
    EXPECT_EQ(frames_per_second, 59);
    read_after(10000);
    EXPECT_EQ(frames_per_second, 100);
}

TEST_F(ClockTest, EqualReadingsKeepTheFrameRateInsteadOfDividingByZero) {
    read_after(20000);
    EXPECT_EQ(frames_per_second, 50);
    read_after(0);
    EXPECT_EQ(frames_per_second, 50);
    EXPECT_EQ(clock_last, clock_now);
}

TEST_F(ClockTest, RestartDiscardsWhatWasRead) {
    read_after(5000);
    fake::state().counter += 60 * 1000000;
    restart_clock();
    EXPECT_EQ(ticks_due, 0);
    EXPECT_EQ(clock_accumulator, 0);
    EXPECT_EQ(frames_per_second, 0); // a reading over a whole minute
    read_after(10001);
    EXPECT_EQ(ticks_due, 1);
}

class TickTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        fake::state().counter = 1000000;
        start_clock();
        spawn_interval = 1000000; // so that spawn_counter counts every tick
    }
    // Lets counts pass and runs the due ticks; the number of ticks that ran.
    int32_t ticks_after(int64_t counts) {
        const int32_t before = spawn_counter;
        fake::state().counter += counts;
        run_ticks();
        return spawn_counter - before;
    }
};

TEST_F(TickTest, TheFirstTickLoadsTheMusicAndEndsTheCatchUp) {
    EXPECT_EQ(ticks_after(35000), 1);
    EXPECT_EQ(ticks_due, -1);
    EXPECT_EQ(fake::calls_starting("music_load").size(), 1u);
    // The next reading starts from -1.
    EXPECT_EQ(ticks_after(25001), 1);
    EXPECT_EQ(ticks_due, 0);
}

TEST_F(TickTest, EveryDueTickRunsBeforeTheFrame) {
    ticks_after(10001); // loads the music
    EXPECT_EQ(ticks_after(50001), 4);
    EXPECT_EQ(ticks_after(2000000), 200); // a long stall is made up in full
}

TEST_F(TickTest, AMinuteOfPauseIsNotCaughtUp) {
    ticks_after(10001);
    press_and_release(vk_letter('P'));
    ASSERT_EQ(paused, 1);
    fake::state().counter += 60 * 1000000;
    press_and_release(vk_letter('P'));
    ASSERT_EQ(paused, 0);
    EXPECT_EQ(ticks_after(5000), 0);
    EXPECT_EQ(ticks_after(5001), 1);
}

TEST_F(TickTest, TimeBehindASideScreenIsNotCaughtUp) {
    ticks_after(10001);
    press_and_release(vk_f1);
    fake::state().counter += 30 * 1000000;
    press_and_release(vk_escape);
    ASSERT_EQ(help_shown, 0);
    EXPECT_EQ(ticks_after(9000), 0);
}

TEST_F(TickTest, TimeSpentInAnotherProgramIsNotCaughtUp) {
    ticks_after(10001);
    fake::state().counter += 7000; // carried over, and kept through the absence
    read_clock();
    const int64_t carried = clock_accumulator;
    send_to_main(MessageKind::activate_app, 0);
    fake::state().counter += 45 * 1000000;
    send_to_main(MessageKind::activate_app, 1);
    EXPECT_EQ(ticks_due, 0);
    EXPECT_EQ(clock_last, fake::state().counter);
    EXPECT_EQ(clock_accumulator, carried);
    EXPECT_EQ(ticks_after(3000), 0);
    EXPECT_EQ(ticks_after(1), 1);
}

} // namespace
