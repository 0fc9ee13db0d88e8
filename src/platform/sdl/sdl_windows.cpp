// Windows on SDL: classes, creation, placement in view pixels, full screen and minimising.
#include "platform/sdl/sdl_windows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sdl/sdl_x11.h"

namespace {

struct WindowClass {
    std::string name;
    WindowProc proc;
    CursorShape cursor;
};

std::vector<WindowClass> window_classes;
std::vector<PlatformWindow*> windows;
int32_t windowed_scale = 0; // chosen when the first window is made

int32_t floor_div(int32_t a, int32_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

SDL_Point window_position(const PlatformWindow* window) {
    SDL_Point p{};
    SDL_GetWindowPosition(window->sdl_window, &p.x, &p.y);
    return p;
}

void tell_size_and_position(PlatformWindow* window) {
    window->proc(window, MessageKind::sized, size_restored,
                 make_lparam(window->view_width, window->view_height));
    window->proc(window, MessageKind::moved, 0, make_lparam(window->told.x, window->told.y));
}

} // namespace

int32_t desktop_scale() {
    return std::max(windowed_scale, 1);
}

void register_window_class(const char* class_name, WindowProc proc, CursorShape cursor) {
    window_classes.push_back({class_name, proc, cursor});
}

WindowHandle create_window(const char* class_name, const char* title, int32_t x, int32_t y,
                           int32_t width, int32_t height) {
    const auto found = std::find_if(window_classes.begin(), window_classes.end(),
                                    [&](const WindowClass& c) { return c.name == class_name; });
    if (found == window_classes.end())
        return nullptr;
    // The largest whole number that keeps the first (main) window within half the screen.
    SDL_DisplayMode desktop{};
    if (windowed_scale == 0 && height > 0 && SDL_GetDesktopDisplayMode(0, &desktop) == 0)
        windowed_scale = std::max(1, desktop.h / 2 / height);
    const int32_t scale = desktop_scale();
    SDL_Window* sdl_window =
        SDL_CreateWindow(title, x == use_default_position ? SDL_WINDOWPOS_UNDEFINED : x * scale,
                         y == use_default_position ? SDL_WINDOWPOS_UNDEFINED : y * scale,
                         width * scale, height * scale, SDL_WINDOW_HIDDEN);
    if (sdl_window == nullptr)
        return nullptr;
    auto* window = new PlatformWindow{};
    window->sdl_window = sdl_window;
    window->id = SDL_GetWindowID(sdl_window);
    window->proc = found->proc;
    window->cursor = found->cursor;
    window->view_width = width;
    window->view_height = height;
    window->scale = scale;
    windows.push_back(window);
    place_view(window, window_position(window));
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
    if (x11_desktop(window->sdl_window) != X11Desktop::managed)
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
    window->view_width = width;
    window->view_height = height;
    SDL_SetWindowSize(window->sdl_window, width * window->scale, height * window->scale);
    SDL_SetWindowPosition(window->sdl_window, x * window->scale, y * window->scale);
    // SDL reports no moves or sizes that the program makes itself.
    window->told = {x, y};
    tell_size_and_position(window);
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

void toggle_fullscreen(WindowHandle window) {
    if (window == nullptr)
        return;
    const bool full = !main_is_fullscreen();
    // A bare X server has no window manager to give a window the whole screen.
    if (full && x11_desktop(window->sdl_window) == X11Desktop::bare)
        return;
    SDL_SetWindowFullscreen(window->sdl_window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // The gun view is drawn beside the main one on the full screen, its window hidden.
    if (PlatformWindow* gun = second_window())
        full ? SDL_HideWindow(gun->sdl_window) : SDL_ShowWindow(gun->sdl_window);
    place_view(window, window_position(window));
    tell_size_and_position(window);
}

void set_window_icon(WindowHandle window, const Canvas* picture) {
    if (window == nullptr || picture == nullptr)
        return;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(picture->pixels, picture->width, picture->height, 32,
                                           picture->pitch * 4, SDL_PIXELFORMAT_RGB888);
    if (surface != nullptr)
        SDL_SetWindowIcon(window->sdl_window, surface);
    SDL_FreeSurface(surface);
}

void destroy_window(WindowHandle window) {
    if (window == nullptr)
        return;
    std::erase(windows, window);
    SDL_DestroyWindow(window->sdl_window);
    free_canvas(window->view);
    free_canvas(window->composed);
    delete window;
}

void close_all_windows() {
    while (!windows.empty())
        destroy_window(windows.back());
    windowed_scale = 0;
}

void place_view(PlatformWindow* window, SDL_Point at) {
    int width = 0, height = 0;
    SDL_GetWindowSize(window->sdl_window, &width, &height);
    window->scale = desktop_scale();
    window->origin = {0, 0};
    if (window == first_window() && main_is_fullscreen()) {
        // As large as whole numbers allow, in the middle of the screen.
        window->scale = std::max(1, std::min(width / std::max(window->view_width, 1),
                                             height / std::max(window->view_height, 1)));
        window->origin = {(width - window->view_width * window->scale) / 2,
                          (height - window->view_height * window->scale) / 2};
    }
    window->told = {floor_div(at.x + window->origin.x, window->scale),
                    floor_div(at.y + window->origin.y, window->scale)};
}

ScreenPoint screen_to_view(SDL_Point point) {
    const PlatformWindow* main = first_window();
    if (main == nullptr)
        return {point.x, point.y};
    const SDL_Point at = window_position(main);
    return {main->told.x + floor_div(point.x - at.x - main->origin.x, main->scale),
            main->told.y + floor_div(point.y - at.y - main->origin.y, main->scale)};
}

SDL_Point view_to_screen(ScreenPoint point) {
    const PlatformWindow* main = first_window();
    if (main == nullptr)
        return {point.x, point.y};
    const SDL_Point at = window_position(main);
    return {at.x + main->origin.x + (point.x - main->told.x) * main->scale,
            at.y + main->origin.y + (point.y - main->told.y) * main->scale};
}

PlatformWindow* find_window(uint32_t sdl_window_id) {
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](auto* w) { return w->id == sdl_window_id; });
    return found == windows.end() ? nullptr : *found;
}

PlatformWindow* first_window() {
    return windows.empty() ? nullptr : windows.front();
}

PlatformWindow* second_window() {
    return windows.size() < 2 ? nullptr : windows[1];
}

bool main_is_fullscreen() {
    return first_window() != nullptr &&
           (SDL_GetWindowFlags(first_window()->sdl_window) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool any_window_focused() {
    return std::any_of(windows.begin(), windows.end(), [](auto* w) { return w->focused; });
}

bool any_window_minimised() {
    return std::any_of(windows.begin(), windows.end(), [](auto* w) { return w->minimised; });
}
