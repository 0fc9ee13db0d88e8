// The fake platform: windows, queue, cursor, clock, pictures and text, all recorded.
#include "tests/fake/fake_platform.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/bitmap.h"
#include "platform/system.h"
#include "platform/text.h"

struct KeyHook {
    KeyHookProc proc;
};

namespace {

fake::State* current = new fake::State();
KeyHook hook_slot{};
std::map<std::string, WindowProc> classes;
bool idle_pass_owed = false;

void log(const std::string& line) {
    current->log.push_back(line);
}

std::string numbers(std::initializer_list<int64_t> values) {
    std::string text;
    for (int64_t v : values)
        text.append(" ").append(std::to_string(v));
    return text;
}

void tell(PlatformWindow* window) {
    window->proc(window, MessageKind::sized, size_restored,
                 make_lparam(window->width, window->height));
    window->proc(window, MessageKind::moved, 0, make_lparam(window->x, window->y));
}

} // namespace

fake::State& fake::state() {
    return *current;
}

void fake::reset() {
    for (PlatformWindow* window : current->windows) {
        free_canvas(window->surface);
        delete window;
    }
    delete current;
    current = new State();
    classes.clear();
    hook_slot = {};
    idle_pass_owed = false;
}

SystemMetrics system_metrics() {
    return current->metrics;
}

void register_window_class(const char* class_name, WindowProc proc, CursorShape) {
    classes[class_name] = proc;
}

WindowHandle create_window(const char* class_name, const char* title, int32_t x, int32_t y,
                           int32_t width, int32_t height) {
    if (classes.count(class_name) == 0)
        return nullptr;
    auto* window = new PlatformWindow{title,
                                      classes[class_name],
                                      x == use_default_position ? 30 : x,
                                      y == use_default_position ? 40 : y,
                                      width,
                                      height,
                                      false,
                                      false,
                                      nullptr};
    current->windows.push_back(window);
    log("create_window " + window->title + numbers({width, height}));
    tell(window);
    return window;
}

void show_window(WindowHandle window, bool visible) {
    log((visible ? "show " : "hide ") + window->title);
    window->visible = visible;
}

void move_window(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height) {
    log("move " + window->title + numbers({x, y, width, height}));
    *window = {window->title,     window->proc,   x, y, width, height, window->visible,
               window->minimised, window->surface};
    tell(window);
}

void minimise_window(WindowHandle window) {
    log("minimise " + window->title);
    window->minimised = true;
}

void restore_window(WindowHandle window) {
    log("restore " + window->title);
    window->minimised = false;
}

void raise_window(WindowHandle window) {
    log("raise " + window->title);
}

void toggle_fullscreen(WindowHandle window) {
    log("fullscreen " + window->title);
}

void set_window_icon(WindowHandle window, const Canvas* picture) {
    uint32_t sum = 0; // which picture it is
    for (int32_t i = 0; i < picture->width * picture->height; ++i)
        sum = sum * 31 + picture->pixels[i];
    log("icon " + window->title + numbers({sum}));
}

void destroy_window(WindowHandle window) {
    log("destroy_window " + window->title);
    if (current->on_destroy_window)
        std::exchange(current->on_destroy_window, nullptr)();
}

bool peek_message(Message* message) {
    if (!current->posted.empty()) {
        *message = current->posted.front();
        current->posted.pop_front();
        if (current->hook_set && is_keyboard_message(message->kind))
            hook_slot.proc(0, message->wparam, message->lparam);
        return true;
    }
    // The script gets a turn whenever the queue is empty, and the loop one pass of idle work
    // after each turn.
    if (current->queue.empty()) {
        if (idle_pass_owed || !current->on_idle) {
            idle_pass_owed = false;
            return false;
        }
        current->on_idle();
        idle_pass_owed = true;
        if (current->queue.empty())
            return peek_message(message);
    }
    *message = current->queue.front();
    current->queue.pop_front();
    if (current->hook_set && !current->watching && is_keyboard_message(message->kind))
        hook_slot.proc(0, message->wparam, message->lparam);
    return true;
}

void post_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    current->posted.push_back({window, kind, wparam, lparam});
}

// The windows are the fake's canvases: what was drawn is there at once.
void present_frame() {}

void wait_for_message() {
    log("wait_for_message");
}

void dispatch_message(const Message& message) {
    if (message.window != nullptr)
        message.window->proc(message.window, message.kind, message.wparam, message.lparam);
}

uint32_t send_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    return window->proc(window, kind, wparam, lparam);
}

uint32_t default_window_proc(WindowHandle, MessageKind, uint32_t, uint32_t) {
    return 0;
}

Canvas* get_window_canvas(WindowHandle window) {
    if (window->surface == nullptr || window->surface->width != window->width ||
        window->surface->height != window->height) {
        free_canvas(window->surface);
        window->surface = allocate_canvas(window->width, window->height);
    }
    reset_text_state(window->surface);
    return window->surface;
}

void release_window_canvas(WindowHandle, Canvas*) {}

Canvas* create_back_buffer(int32_t width, int32_t height) {
    log("create_back_buffer" + numbers({width, height}));
    return allocate_canvas(width, height);
}

void delete_back_buffer(Canvas* canvas) {
    log("delete_back_buffer" + numbers({canvas->width, canvas->height}));
    free_canvas(canvas);
}

void show_cursor(bool visible) {
    log(std::string("show_cursor ") + (visible ? "1" : "0"));
}

void clip_cursor(const ScreenRect* rect) {
    log(rect == nullptr
            ? "clip_cursor null"
            : "clip_cursor" + numbers({rect->left, rect->top, rect->right, rect->bottom}));
}

ScreenPoint get_cursor_pos() {
    log("get_cursor_pos");
    return current->cursor;
}

void set_cursor_pos(ScreenPoint point) {
    log("set_cursor_pos" + numbers({point.x, point.y}));
    current->cursor = point;
}

void set_watching(bool watching) {
    current->watching = watching;
}

HookHandle set_key_hook(KeyHookProc proc) {
    log("set_key_hook");
    hook_slot.proc = proc;
    current->hook_set = true;
    return &hook_slot;
}

void unhook_key_hook(HookHandle) {
    log("unhook_key_hook");
    current->hook_set = false;
}

int64_t perf_counter() {
    const int64_t value = current->counter;
    current->counter += current->counter_step;
    return value;
}

int64_t perf_frequency() {
    return current->frequency;
}

// Time passes at once.
void sleep_for_counts(int64_t counts) {
    current->counter += std::max<int64_t>(counts, 0);
}

void message_box(const char* text, const char* caption) {
    log("message_box " + std::string(text) + " " + caption);
}

void exit_process(int code) {
    log("exit" + numbers({code}));
    if (current->on_exit)
        current->on_exit(code);
}

// A picture is filled with a colour of its name, so that the pictures can be told apart.
Canvas* load_bitmap(const char* path, int32_t width, int32_t height) {
    log("load_bitmap " + std::string(path) + numbers({width, height}));
    if (current->missing_files.count(path) != 0)
        return nullptr;
    uint32_t hash = 2166136261u;
    for (const char* c = path; *c != '\0'; ++c)
        hash = (hash ^ static_cast<uint8_t>(*c)) * 16777619u;
    Canvas* canvas = allocate_canvas(width, height);
    fill_rect(canvas, 0, 0, width, height, hash & 0xFFFFFF);
    return canvas;
}

void delete_bitmap(Canvas* bitmap) {
    free_canvas(bitmap);
}

// Text is recorded, and painted as a bar of its colour six pixels a character, so that what
// covers it and what it covers show in the pixels.
void draw_text(Canvas* canvas, int32_t x, int32_t y, const char* text, int32_t length) {
    current->texts.push_back(
        std::to_string(x) + "," + std::to_string(y) + numbers({canvas->text_colour}) +
        (canvas->background_mode == BackgroundMode::opaque ? " opaque" : " clear") +
        (canvas->align == TextAlign::centre_top ? " centre " : " left ") +
        std::string(text, static_cast<size_t>(length)));
    const int32_t width = 6 * length;
    if (canvas->align == TextAlign::centre_top)
        x -= width / 2;
    if (canvas->background_mode == BackgroundMode::opaque)
        fill_rect(canvas, x, y, x + width, y + 12, canvas->background_colour);
    fill_rect(canvas, x, y + 2, x + width, y + 10, canvas->text_colour);
}
