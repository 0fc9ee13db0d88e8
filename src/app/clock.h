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
extern int32_t frames_per_second;

void start_clock();
void read_clock();
// A reading whose elapsed time is thrown away.
void restart_clock();
// Reads the clock and runs every tick that is due.
void run_ticks();
