// The clock, message boxes and process end on SDL.
#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/sdl/sdl_windows.h"
#include "platform/system.h"

int64_t perf_counter() {
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t perf_frequency() {
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

void sleep_for_counts(int64_t counts) {
    if (counts > 0)
        std::this_thread::sleep_for(std::chrono::nanoseconds(static_cast<int64_t>(
            static_cast<double>(counts) * 1e9 / static_cast<double>(perf_frequency()))));
}

void message_box(const char* text, const char* caption) {
    SDL_ShowSimpleMessageBox(0, caption, text, nullptr);
}

void exit_process(int code) {
    // SDL's own clean-up would wait for ever on a window another program destroyed, or on an X
    // server that has gone.
    if (close_all_windows())
        SDL_Quit();
    std::exit(code);
}
