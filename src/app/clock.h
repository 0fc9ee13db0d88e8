// The frame clock: fixed ticks of 10 ms from the performance counter, and the frame rate.
#pragma once

#include <cstdint>

// The most ticks one pass of the loop runs.
constexpr int32_t max_ticks_per_pass = 100;

// The counts from one reading of the clock to another, whatever the two readings: a recorded
// game's may lie anywhere, and the difference wraps as the counter itself would.
inline int64_t counts_between(int64_t from, int64_t to) {
    return static_cast<int64_t>(static_cast<uint64_t>(to) - static_cast<uint64_t>(from));
}

extern int64_t clock_frequency;
extern int64_t clock_now;
extern int64_t clock_last;
extern int64_t clock_accumulator;
extern int64_t tick_length;
extern int32_t ticks_due;

void start_clock();
void read_clock();
// A reading whose elapsed time is thrown away.
void restart_clock();
// Reads the clock and runs every tick that is due.
void run_ticks();
// A tick's music: the module started at the first tick and again each time it has played to
// its end, as the game record tells; the clock then begins anew, the loading's time not played.
void update_music();
