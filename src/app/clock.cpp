// The frame clock and the tick driver.
#include "app/clock.h"

#include "app/game_record.h"
#include "audio/sound.h"
#include "game/particles.h"
#include "game/shots.h"
#include "game/targets.h"

int64_t clock_frequency;
int64_t clock_now;
int64_t clock_last;
int64_t clock_accumulator;
int64_t tick_length;
int32_t ticks_due;
int32_t frames_per_second;

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
    clock_accumulator += clock_now - clock_last;
    // An accumulator of exactly one tick waits for the next reading. (A clock that was never
    // started has no tick length, and no ticks.)
    while (tick_length > 0 && clock_accumulator > tick_length) {
        clock_accumulator -= tick_length;
        ticks_due += 1;
    }
    // Two readings of the same count would divide by zero: the figure then stays as it was.
    if (clock_now != clock_last)
        frames_per_second = static_cast<int32_t>(clock_frequency / (clock_now - clock_last));
    clock_last = clock_now;
}

void restart_clock() {
    read_clock();
    clock_accumulator = 0;
    ticks_due = 0;
}

void run_ticks() {
    read_clock();
    // After the process was stopped, or the machine stalled, the game goes on where it was:
    // what lies beyond a second of play is thrown away, as time spent inactive is.
    if (ticks_due > max_ticks_per_pass)
        ticks_due = max_ticks_per_pass;
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
