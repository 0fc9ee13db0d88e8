// The fake platform: windows, queue, cursor, clock, pictures and text, all recorded.
#include "tests/fake/fake_platform.h"

#include <cstring>
#include <map>

#include "platform/bitmap.h"
#include "platform/system.h"
#include "platform/text.h"

struct KeyHook {
    KeyHookProc proc;
};

namespace {

fake::State* current = new fake::State();
KeyHook hook_slot{};

struct WindowClass {
    WindowProc proc;
};
std::map<std::string, WindowClass> classes;
std::map<const Canvas*, std::string> bitmap_names;

void log(const std::string& line) {
    current->log.push_back(line);
}

std::string name_of(WindowHandle window) {
    return window == nullptr ? "null" : window->title;
}

void tell(PlatformWindow* window) {
    window->proc(window, MessageKind::sized, size_restored,
                 make_lparam(window->width, window->height));
    window->proc(window, MessageKind::moved, 0, make_lparam(window->x, window->y));
}

bool is_keyboard(MessageKind kind) {
    return kind == MessageKind::key_down || kind == MessageKind::key_up ||
           kind == MessageKind::sys_key_down || kind == MessageKind::sys_key_up;
}

// The colour a fake picture is filled with, so tests can tell the pictures apart.
Colour picture_colour(const std::string& path) {
    uint32_t hash = 2166136261u;
    for (char c : path)
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    return hash & 0xFFFFFF;
}

} // namespace

namespace fake {

State& state() {
    return *current;
}

void reset() {
    for (PlatformWindow* window : current->windows) {
        free_canvas(window->surface);
        delete window;
    }
    delete current;
    current = new State();
    classes.clear();
    bitmap_names.clear();
    hook_slot = {};
}

Message key_up(uint32_t virtual_key, uint32_t scan_code) {
    return {nullptr, MessageKind::key_up, virtual_key, 1 | (scan_code << 16) | (3u << 30)};
}

Message key_down(uint32_t virtual_key, uint32_t scan_code) {
    return {nullptr, MessageKind::key_down, virtual_key, 1 | (scan_code << 16)};
}

PlatformWindow* window_titled(const std::string& title) {
    for (PlatformWindow* window : current->windows)
        if (window->title == title)
            return window;
    return nullptr;
}

std::vector<std::string> calls_starting(const std::string& prefix) {
    std::vector<std::string> found;
    for (const auto& line : current->log)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

std::vector<TextCall> texts_on(const Canvas* canvas) {
    std::vector<TextCall> found;
    for (const auto& call : current->texts)
        if (call.canvas == canvas)
            found.push_back(call);
    return found;
}

const TextCall* find_text(const std::string& text) {
    for (const auto& call : current->texts)
        if (call.text == text)
            return &call;
    return nullptr;
}

} // namespace fake

bool open_platform() {
    return true;
}

SystemMetrics system_metrics() {
    return current->metrics;
}

void register_window_class(const char* class_name, WindowProc proc, CursorShape) {
    classes[class_name] = {proc};
}

WindowHandle create_window(const char* class_name, const char* title, int32_t x, int32_t y,
                           int32_t width, int32_t height) {
    auto found = classes.find(class_name);
    if (found == classes.end())
        return nullptr;
    auto* window = new PlatformWindow{};
    window->class_name = class_name;
    window->title = title;
    window->proc = found->second.proc;
    window->x = x == use_default_position ? 30 : x;
    window->y = y == use_default_position ? 40 : y;
    window->width = width;
    window->height = height;
    current->windows.push_back(window);
    log("create_window " + std::string(title));
    tell(window);
    return window;
}

void show_window(WindowHandle window, bool visible) {
    log(std::string(visible ? "show " : "hide ") + name_of(window));
    if (window != nullptr)
        window->visible = visible;
}

void move_window(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height) {
    log("move " + name_of(window) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
        std::to_string(width) + " " + std::to_string(height));
    if (window == nullptr)
        return;
    window->x = x;
    window->y = y;
    window->width = width;
    window->height = height;
    tell(window);
}

void minimise_window(WindowHandle window) {
    log("minimise " + name_of(window));
    if (window != nullptr)
        window->minimised = true;
}

void restore_window(WindowHandle window) {
    log("restore " + name_of(window));
    if (window != nullptr)
        window->minimised = false;
}

void destroy_window(WindowHandle window) {
    log("destroy_window " + name_of(window));
}

bool peek_message(Message* message) {
    if (current->queue.empty())
        return false;
    *message = current->queue.front();
    current->queue.pop_front();
    if (current->hook_set && is_keyboard(message->kind))
        hook_slot.proc(0, message->wparam, message->lparam);
    return true;
}

void wait_for_message() {
    log("wait_for_message");
    if (current->on_wait)
        current->on_wait();
}

void dispatch_message(const Message& message) {
    if (message.window != nullptr)
        message.window->proc(message.window, message.kind, message.wparam, message.lparam);
}

uint32_t send_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    return window == nullptr ? 0 : window->proc(window, kind, wparam, lparam);
}

uint32_t default_window_proc(WindowHandle, MessageKind, uint32_t, uint32_t) {
    return 0;
}

Canvas* get_window_canvas(WindowHandle window) {
    if (window == nullptr)
        return nullptr;
    if (window->surface == nullptr || window->surface->width != window->width ||
        window->surface->height != window->height) {
        free_canvas(window->surface);
        window->surface = allocate_canvas(window->width, window->height);
    }
    reset_text_state(window->surface);
    return window->surface;
}

void release_window_canvas(WindowHandle window, Canvas*) {
    if (window != nullptr)
        ++window->presents;
}

Canvas* create_back_buffer(int32_t width, int32_t height) {
    log("create_back_buffer " + std::to_string(width) + "x" + std::to_string(height));
    return allocate_canvas(width, height);
}

void delete_back_buffer(Canvas* canvas) {
    if (canvas != nullptr)
        log("delete_back_buffer " + std::to_string(canvas->width) + "x" +
            std::to_string(canvas->height));
    free_canvas(canvas);
}

void show_cursor(bool visible) {
    log(std::string("show_cursor ") + (visible ? "1" : "0"));
    current->cursor_visible = visible;
}

void clip_cursor(const ScreenRect* rect) {
    if (rect == nullptr) {
        log("clip_cursor null");
        current->clip.reset();
        return;
    }
    log("clip_cursor " + std::to_string(rect->left) + " " + std::to_string(rect->top) + " " +
        std::to_string(rect->right) + " " + std::to_string(rect->bottom));
    current->clip = *rect;
}

ScreenPoint get_cursor_pos() {
    log("get_cursor_pos");
    return current->cursor;
}

void set_cursor_pos(ScreenPoint point) {
    log("set_cursor_pos " + std::to_string(point.x) + " " + std::to_string(point.y));
    current->cursor = point;
}

bool shift_key_down() {
    return current->shift;
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

int32_t call_next_hook(HookHandle, int32_t, uint32_t, uint32_t) {
    return 0;
}

int64_t perf_counter() {
    const int64_t value = current->counter;
    current->counter += current->counter_step;
    return value;
}

int64_t perf_frequency() {
    return current->frequency;
}

void message_box(const char* text, const char* caption) {
    log("message_box " + std::string(text) + " " + caption);
    current->message_boxes.push_back(std::string(text) + "|" + caption);
}

void exit_process(int code) {
    log("exit " + std::to_string(code));
    current->exit_code = code;
    if (current->on_exit)
        current->on_exit();
}

Canvas* load_bitmap(const char* path, int32_t width, int32_t height) {
    log("load_bitmap " + std::string(path) + " " + std::to_string(width) + "x" +
        std::to_string(height));
    if (current->missing_files.count(path) != 0)
        return nullptr;
    Canvas* canvas = allocate_canvas(width, height);
    fill_rect(canvas, 0, 0, width, height, picture_colour(path));
    bitmap_names[canvas] = path;
    return canvas;
}

void delete_bitmap(Canvas* bitmap) {
    if (bitmap != nullptr) {
        log("delete_bitmap " + bitmap_names[bitmap]);
        bitmap_names.erase(bitmap);
    }
    free_canvas(bitmap);
}

// Text is recorded, and painted as a bar of its colour six pixels a character, so that what
// covers it and what it covers can be seen in the pixels.
void draw_text(Canvas* canvas, int32_t x, int32_t y, const char* text, int32_t length) {
    current->texts.push_back({canvas, std::string(text, static_cast<size_t>(length)), x, y,
                              canvas->text_colour, canvas->background_mode, canvas->align});
    const int32_t width = 6 * length;
    if (canvas->align == TextAlign::centre_top)
        x -= width / 2;
    if (canvas->background_mode == BackgroundMode::opaque)
        fill_rect(canvas, x, y, x + width, y + 12, canvas->background_colour);
    fill_rect(canvas, x, y + 2, x + width, y + 10, canvas->text_colour);
}
