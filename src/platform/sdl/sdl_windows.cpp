// Windows on SDL: classes, creation, placement, minimising and the window surfaces.
#include "platform/sdl/sdl_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_signals.h"
#include "platform/sdl/sdl_x11.h"

namespace {

struct WindowClass {
    std::string name;
    WindowProc proc;
    CursorShape cursor;
};

std::vector<WindowClass> window_classes;
std::vector<PlatformWindow*> windows;

void tell_size_and_position(PlatformWindow* window) {
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowSize(window->sdl_window, &width, &height);
    SDL_GetWindowPosition(window->sdl_window, &x, &y);
    window->proc(window, MessageKind::sized, size_restored, make_lparam(width, height));
    window->proc(window, MessageKind::moved, 0, make_lparam(x, y));
}

} // namespace

bool open_platform() {
    // A plain shared-memory copy per frame is several times faster than SDL's default path,
    // which goes through software OpenGL on a plain X server.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Clicks reach the game whether or not they also focus a window, and the mouse is never
    // captured: the game only hears about the mouse over its own windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // SDL would turn SIGINT and SIGTERM into a quit that skips the game's own ending.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    catch_end_signals();
    catch_x_errors();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "zarnok3d: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    // Without a display SDL falls back to drivers that show nothing; the game would then run
    // unseen for ever. They are used only when asked for by name, as the tests do.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible = driver != nullptr && (std::strcmp(driver, "offscreen") == 0 ||
                                                 std::strcmp(driver, "dummy") == 0);
    if (invisible && (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
        std::fprintf(stderr, "zarnok3d: cannot open the display: no X11 or Wayland display found "
                             "(is DISPLAY set?)\n");
        SDL_Quit();
        return false;
    }
    return true;
}

SystemMetrics system_metrics() {
    SystemMetrics metrics{};
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        metrics.screen_width = mode.w;
        metrics.screen_height = mode.h;
    }
    return metrics;
}

void register_window_class(const char* class_name, WindowProc proc, CursorShape cursor) {
    window_classes.push_back({class_name, proc, cursor});
}

WindowHandle create_window(const char* class_name, const char* title, int32_t x, int32_t y,
                           int32_t width, int32_t height) {
    const WindowClass* window_class = nullptr;
    for (const auto& c : window_classes)
        if (c.name == class_name)
            window_class = &c;
    if (window_class == nullptr)
        return nullptr;
    const int sdl_x = x == use_default_position ? SDL_WINDOWPOS_UNDEFINED : x;
    const int sdl_y = y == use_default_position ? SDL_WINDOWPOS_UNDEFINED : y;
    SDL_Window* sdl_window =
        SDL_CreateWindow(title, sdl_x, sdl_y, width, height, SDL_WINDOW_HIDDEN);
    if (sdl_window == nullptr)
        return nullptr;
    auto* window = new PlatformWindow{};
    window->sdl_window = sdl_window;
    window->id = SDL_GetWindowID(sdl_window);
    window->proc = window_class->proc;
    window->cursor = window_class->cursor;
    windows.push_back(window);
    tell_size_and_position(window);
    return window;
}

void show_window(WindowHandle window, bool visible) {
    if (window == nullptr)
        return;
    if (!visible) {
        SDL_HideWindow(window->sdl_window);
        return;
    }
    SDL_ShowWindow(window->sdl_window);
    // A window manager frames the window and tells the frame's size a moment later; until
    // then a move would place the frame, not the client area, where the game asks.
    if (!window_manager_runs(window->sdl_window))
        return;
    int top = 0;
    for (const Uint64 give_up = SDL_GetTicks64() + 500; top == 0 && SDL_GetTicks64() < give_up;
         SDL_Delay(2)) {
        SDL_PumpEvents();
        SDL_GetWindowBordersSize(window->sdl_window, &top, nullptr, nullptr, nullptr);
    }
}

void move_window(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (window == nullptr)
        return;
    SDL_SetWindowSize(window->sdl_window, width, height);
    SDL_SetWindowPosition(window->sdl_window, x, y);
    // SDL reports no moves or sizes that the program makes itself.
    window->proc(window, MessageKind::sized, size_restored, make_lparam(width, height));
    window->proc(window, MessageKind::moved, 0, make_lparam(x, y));
}

void minimise_window(WindowHandle window) {
    if (window != nullptr)
        SDL_MinimizeWindow(window->sdl_window);
}

void restore_window(WindowHandle window) {
    if (window != nullptr)
        SDL_RestoreWindow(window->sdl_window);
}

void raise_window(WindowHandle window) {
    if (window == nullptr)
        return;
    SDL_RaiseWindow(window->sdl_window);
    SDL_SetWindowInputFocus(window->sdl_window);
}

void destroy_window(WindowHandle window) {
    if (window == nullptr)
        return;
    std::erase(windows, window);
    SDL_DestroyWindow(window->sdl_window);
    free_canvas(window->shadow);
    delete window;
}

void close_all_windows() {
    while (!windows.empty())
        destroy_window(windows.back());
}

PlatformWindow* find_window(uint32_t sdl_window_id) {
    for (auto* window : windows)
        if (window->id == sdl_window_id)
            return window;
    return nullptr;
}

PlatformWindow* first_window() {
    return windows.empty() ? nullptr : windows.front();
}

bool any_window_focused() {
    return std::any_of(windows.begin(), windows.end(), [](auto* w) { return w->focused; });
}

bool any_window_minimised() {
    return std::any_of(windows.begin(), windows.end(), [](auto* w) { return w->minimised; });
}

Canvas* get_window_canvas(WindowHandle window) {
    if (window == nullptr)
        return nullptr;
    SDL_Surface* surface = SDL_GetWindowSurface(window->sdl_window);
    if (surface == nullptr)
        return nullptr;
    if (surface->format->format == SDL_PIXELFORMAT_RGB888) {
        window->surface_canvas = wrap_pixels(static_cast<uint32_t*>(surface->pixels), surface->w,
                                             surface->h, surface->pitch / 4);
        return &window->surface_canvas;
    }
    if (window->shadow == nullptr || window->shadow->width != surface->w ||
        window->shadow->height != surface->h) {
        free_canvas(window->shadow);
        window->shadow = allocate_canvas(surface->w, surface->h);
    }
    reset_text_state(window->shadow);
    return window->shadow;
}

void release_window_canvas(WindowHandle window, Canvas* canvas) {
    if (window == nullptr || canvas == nullptr)
        return;
    if (canvas == window->shadow) {
        SDL_Surface* surface = SDL_GetWindowSurface(window->sdl_window);
        if (surface == nullptr)
            return;
        SDL_ConvertPixels(canvas->width, canvas->height, SDL_PIXELFORMAT_RGB888, canvas->pixels,
                          canvas->pitch * 4, surface->format->format, surface->pixels,
                          surface->pitch);
    }
    window->needs_present = true;
}

void present_windows() {
    for (auto* window : windows)
        if (window->needs_present) {
            window->needs_present = false;
            SDL_UpdateWindowSurface(window->sdl_window);
        }
}

Canvas* create_back_buffer(int32_t width, int32_t height) {
    return allocate_canvas(width, height);
}

void delete_back_buffer(Canvas* canvas) {
    free_canvas(canvas);
}
