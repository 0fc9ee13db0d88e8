// The frame clock and the tick driver.
#include "app/clock.h"

#include <algorithm>

#include "app/game_record.h"
#include "audio/sound.h"
#include "game/particles.h"
#include "game/shots.h"
#include "game/targets.h"
#include "world/state.h"

int64_t clock_frequency;
int64_t clock_now;
int64_t clock_last;
int64_t clock_accumulator;
int64_t tick_length;
int32_t ticks_due;

void start_clock() {
    clock_frequency = game_frequency();
    clock_now = game_counter();
    clock_last = clock_now;
    tick_length = clock_frequency / 100;
    ticks_due = 0;
    clock_accumulator = 0;
}

void read_clock() {
    clock_now = game_counter();
    const int64_t elapsed = counts_between(clock_last, clock_now);
    // A clock that runs backwards again and again (a forged replay's) takes the accumulator no
    // further than this, where no sum overflows; nor does one forwards, whose ticks are dropped.
    constexpr int64_t farthest = int64_t{1} << 62;
    int64_t sum = 0;
    if (__builtin_add_overflow(clock_accumulator, elapsed, &sum))
        sum = elapsed > 0 ? farthest : -farthest;
    clock_accumulator = std::clamp(sum, -farthest, farthest);
    // An accumulator of exactly one tick waits for the next reading. (A clock that was never
    // started has no tick length, and no ticks.) Ticks beyond a pass's most are dropped here, as
    // the pass would drop them.
    if (tick_length > 0 && clock_accumulator > tick_length) {
        const int64_t ticks = (clock_accumulator - 1) / tick_length;
        clock_accumulator -= ticks * tick_length;
        ticks_due = static_cast<int32_t>(std::min<int64_t>(ticks_due + ticks, max_ticks_per_pass));
    }
    // Two readings of the same count would divide by zero: the figure then stays as it was.
    if (elapsed != 0)
        frames_per_second = static_cast<int32_t>(clock_frequency / elapsed);
    clock_last = clock_now;
}

void restart_clock() {
    read_clock();
    clock_accumulator = 0;
    ticks_due = 0;
}

void update_music() {
    // A module that failed to load never reports its end, so it is not tried again.
    if (music_track >= 0 && !game_music_finished())
        return;
    play_music_again();
    restart_clock();
}

void run_ticks() {
    // After the process was stopped, or the machine stalled, the game goes on where it was:
    // what lies beyond a second of play was thrown away by the reading, as time spent inactive
    // is.
    read_clock();
    if (ticks_due <= 0)
        return;
    do {
        update_targets();
        update_shots();
        update_particles();
        update_music();
        ticks_due -= 1;
    } while (ticks_due > 0);
}
