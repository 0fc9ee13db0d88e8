// System services: the high-resolution clock, message boxes and the end of the process.
#pragma once

#include <cstdint>

int64_t perf_counter();
int64_t perf_frequency();
// Waits so many counts of perf_counter; nothing for none or fewer.
void sleep_for_counts(int64_t counts);

// Shows a message with an OK button and waits for it to be closed.
void message_box(const char* text, const char* caption);

void exit_process(int code);
