// System services: the high-resolution clock, message boxes and the end of the process.
#pragma once

#include <cstdint>

int64_t perf_counter();
int64_t perf_frequency();

// Shows a message with an OK button and waits for it to be closed.
void message_box(const char* text, const char* caption);

void exit_process(int code);
