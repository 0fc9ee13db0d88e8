// A recording, scriptable stand-in for the platform and sound layers, for unit tests.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/window.h"

struct PlatformWindow {
    std::string title;
    WindowProc proc;
    int32_t x, y, width, height;
    bool visible, minimised;
    Canvas* surface;
};

namespace fake {

// Everything the fake remembers and every answer it gives; reset() restores the defaults.
struct State {
    std::vector<std::string> log;   // platform and sound calls that change something, in order
    std::vector<std::string> texts; // every draw_text: "x,y colour mode align text"
    std::deque<Message> queue;
    std::deque<Message> posted; // by the program itself: taken before the queue
    // Runs when the loop finds the queue empty; the loop does one pass of idle work (or waits)
    // before asking again.
    std::function<void()> on_idle;
    int64_t counter = 0, counter_step = 0; // the step is added after each reading
    int64_t frequency = 1000000;
    SystemMetrics metrics{1024, 768};
    ScreenPoint cursor{0, 0};
    bool hook_set = false, watching = false;
    std::set<std::string> missing_files;
    std::vector<PlatformWindow*> windows;
    std::function<void(int)> on_exit;
    std::function<void()> on_destroy_window; // the display lost while a window goes, say
    bool sound_reports_playing = true, music_finished = false;
};

State& state();
void reset();

} // namespace fake
