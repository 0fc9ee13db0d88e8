// Windows, window classes and the message queue that carries all input to the game.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

struct PlatformWindow;
using WindowHandle = PlatformWindow*;

enum class MessageKind : uint32_t {
    moved,            // lparam: client area's screen position, x low word, y high word (signed)
    sized,            // wparam: size_restored or size_minimised; lparam: width low, height high
    paint,            // part of the window needs drawing again
    activate_app,     // wparam: 1 when the program becomes active, 0 when it stops being so
    key_pressed,      // wparam: virtual-key code; lparam: scan code in bits 16..23
    key_released,     // as key_pressed, with bits 30 and 31 set
    sys_key_pressed,  // a key with Alt held, Alt itself or F10: carries no command
    sys_key_released, //
    mouse_move,       // lparam: client position, x low word, y high word
    left_button_down, // lparam: as mouse_move
    destroy,          // the main window is being closed
    quit,             // the program is asked to end without the window-close handling
    pad_button,       // wparam: a PadButton, with pad_pressed when it went down; lparam: the
                      // view pixel the pad aims at, as mouse_move
    pad_removed,      // a game controller was pulled out
};

// A game controller's buttons, as pad_button messages tell of them; the right trigger is a
// button pressed as it is pulled.
enum class PadButton : uint32_t {
    a,
    b,
    x,
    y,
    back,
    guide,
    start,
    left_stick,
    right_stick,
    left_shoulder,
    right_shoulder,
    dpad_up,
    dpad_down,
    dpad_left,
    dpad_right,
    right_trigger,
};
constexpr uint32_t pad_pressed = 0x100;

// The messages the key hook sees on their way.
constexpr bool is_keyboard_message(MessageKind kind) {
    return kind == MessageKind::key_pressed || kind == MessageKind::key_released ||
           kind == MessageKind::sys_key_pressed || kind == MessageKind::sys_key_released;
}

constexpr uint32_t size_restored = 0;
constexpr uint32_t size_minimised = 1;

struct Message {
    WindowHandle window;
    MessageKind kind;
    uint32_t wparam;
    uint32_t lparam;
};

constexpr uint32_t low_word(uint32_t value) {
    return value & 0xFFFF;
}
constexpr uint32_t high_word(uint32_t value) {
    return (value >> 16) & 0xFFFF;
}
// The halves as signed values: a window's position may lie left of or above the screen.
constexpr int32_t signed_low_word(uint32_t value) {
    return static_cast<int16_t>(value & 0xFFFF);
}
constexpr int32_t signed_high_word(uint32_t value) {
    return static_cast<int16_t>(value >> 16);
}
constexpr uint32_t make_lparam(int32_t low, int32_t high) {
    return (static_cast<uint32_t>(low) & 0xFFFF) | (static_cast<uint32_t>(high) << 16);
}

using WindowProc = uint32_t (*)(WindowHandle window, MessageKind kind, uint32_t wparam,
                                uint32_t lparam);

enum class CursorShape { arrow, cross };

// Where the window manager may place a new window.
constexpr int32_t use_default_position = INT32_MIN;

// The screen's size as the game counts it. Windows are sized by their client areas: no frame or
// caption enters the game's sums.
struct SystemMetrics {
    int32_t screen_width;
    int32_t screen_height;
};

// Starts the windowing system; false (with the reason on stderr) when there is no display.
bool open_platform();
// Whether the gun view gets a window of its own beside the main one, or is shown inside the
// main window at its left. Automatically: one window where the desktop does not let a program
// place its windows (native Wayland, a window manager that puts them where it likes).
enum class WindowArrangement { automatic, one_window, two_windows };
void arrange_windows(WindowArrangement chosen);
// How frames reach the screen: through SDL's renderer where a graphics card draws (an OpenGL the
// processor runs counts as none), else copied into the windows' surfaces; or one of them forced.
enum class RendererChoice { automatic, gpu, surface };
void choose_renderer(RendererChoice chosen);
// How often what was drawn is shown: at most once per refresh of the display, the pass waiting
// for it (the default); as often as the game draws; or now and then, at most ten times a second
// and never waiting, the frames drawn in between not shown (a replay played as fast as it goes).
enum class FramePacing { refresh, every_frame, now_and_then };
void pace_frames(FramePacing pacing);
SystemMetrics system_metrics();

void register_window_class(const char* class_name, WindowProc proc, CursorShape cursor);
// Creates a hidden window of the class with a client area of width x height. The new window's
// procedure is told its size and position before this returns.
WindowHandle create_window(const char* class_name, const char* title, int32_t x, int32_t y,
                           int32_t width, int32_t height);
void show_window(WindowHandle window, bool visible);
// Moves the client area to (x, y) and sizes it; the procedure is told at once.
void move_window(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height);
void minimise_window(WindowHandle window);
void restore_window(WindowHandle window);
// Brings the window to the front with the keyboard focus.
void raise_window(WindowHandle window);
// Switches the window between the whole screen and a window of its own; the view keeps its size.
void toggle_fullscreen(WindowHandle window);
// The picture the desktop shows for the window (in its title bar, task bar, window switcher).
void set_window_icon(WindowHandle window, const Canvas* picture);
void destroy_window(WindowHandle window);

// Takes the next message if there is one; keyboard messages pass the key hook on their way (the
// player's alone while a recorded game is watched, and those the program posted).
bool peek_message(Message* message);
// Queues a message of the program's own for the window's procedure, behind those waiting.
void post_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam);
// Shows what was drawn on the windows since they were last shown, whole and at once, then waits
// until the next pass is due: the display's next refresh, as the pacing asks.
void present_frame();
// Blocks until a message may be waiting.
void wait_for_message();
void dispatch_message(const Message& message);
// Calls the window's procedure at once.
uint32_t send_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam);
uint32_t default_window_proc(WindowHandle window, MessageKind kind, uint32_t wparam,
                             uint32_t lparam);

// The window's own drawing surface, with a fresh text state; null when there is none. What is
// drawn on it before it is released is shown at the next present_frame.
Canvas* get_window_canvas(WindowHandle window);
void release_window_canvas(WindowHandle window, Canvas* canvas);

// Off-screen drawing surfaces, black when new.
Canvas* create_back_buffer(int32_t width, int32_t height);
void delete_back_buffer(Canvas* canvas);
