// A recording, scriptable stand-in for the platform and sound layers, for unit tests.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/window.h"

struct PlatformWindow {
    std::string class_name;
    std::string title;
    WindowProc proc;
    int32_t x, y, width, height;
    bool visible;
    bool minimised;
    Canvas* surface;
    int32_t presents; // how often what was drawn on the window was shown
};

struct TextCall {
    const Canvas* canvas;
    std::string text;
    int32_t x, y;
    Colour colour;
    BackgroundMode mode;
    TextAlign align;
};

namespace fake {

// Everything the fake remembers and every answer it gives; reset() restores the defaults.
struct State {
    std::vector<std::string> log; // platform and sound calls, in order
    std::deque<Message> queue;    // what peek_message hands out
    int64_t counter = 0;
    int64_t counter_step = 0; // added to the counter after each reading
    int64_t frequency = 1000000;
    SystemMetrics metrics{1024, 768, 0, 0, 0, 0, 0, 0, 0};
    ScreenPoint cursor{0, 0};
    bool cursor_visible = true;
    std::optional<ScreenRect> clip;
    bool shift = false;
    bool hook_set = false;
    std::set<std::string> missing_files; // pictures and samples that fail to load
    std::vector<TextCall> texts;         // every draw_text call
    std::vector<std::string> message_boxes;
    std::vector<PlatformWindow*> windows; // every window made, destroyed ones included
    int exit_code = -1;
    std::function<void()> on_exit;
    std::function<void()> on_wait; // runs inside wait_for_message
    // Sound library answers.
    bool sound_reports_playing = true;
    bool music_finished = false;
    int32_t effects_volume = -1;
    int32_t music_volume = -1;
};

State& state();
void reset();

// Messages as the SDL layer would make them.
Message key_up(uint32_t virtual_key, uint32_t scan_code = 0);
Message key_down(uint32_t virtual_key, uint32_t scan_code);
PlatformWindow* window_titled(const std::string& title);
// Log lines that start with prefix, in order.
std::vector<std::string> calls_starting(const std::string& prefix);
// Texts drawn on a canvas, in order.
std::vector<TextCall> texts_on(const Canvas* canvas);
// The first text call of exactly this string, or null.
const TextCall* find_text(const std::string& text);

} // namespace fake
