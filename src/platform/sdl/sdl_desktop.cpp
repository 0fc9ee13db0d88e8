// The desktop seam: the desktop chosen by SDL's video driver, and the null desktop, which answers
// with what SDL alone knows for a window not on X (Wayland, the drivers that show nothing).
#include "platform/sdl/sdl_desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/sdl/sdl_desktop_answers.h"
#include "store/say.h"

namespace {

void (*on_display_lost)() = nullptr;
bool display_lost = false;
bool on_wayland = false;

void sdl_show_window(SDL_Window* window, bool visible) {
    const bool shown = (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0;
    if (visible != shown)
        visible ? SDL_ShowWindow(window) : SDL_HideWindow(window);
}

void sdl_frame_sides(SDL_Window* window, int* left, int* right) {
    SDL_GetWindowBordersSize(window, nullptr, left, nullptr, right);
}

void sdl_move_window(SDL_Window* window, SDL_Point at) {
    SDL_SetWindowPosition(window, at.x, at.y);
}

// On Wayland a program has no say where its windows go.
bool places_windows_on_wayland(SDL_Window*) {
    return on_wayland;
}

const DesktopAnswers null_desktop = {
    .catch_errors = [] {},
    .unmanaged = [](SDL_Window*) { return false; },
    .places_windows = places_windows_on_wayland,
    .compositor_moves_pointer = [] { return false; },
    .client_position = [](SDL_Window*, SDL_Point*) { return false; },
    .frame_sides = sdl_frame_sides,
    .show_window = sdl_show_window,
    .show_again = [](SDL_Window*) {},
    .move_window = sdl_move_window,
    .screen_size = [](SDL_Window*, SDL_Point*) { return false; },
    .window_exists = [](SDL_Window*) { return true; },
    .destroyed_window = [](const SDL_SysWMmsg*, SDL_Window*) { return false; },
    .tie_to_owner = [](SDL_Window*, SDL_Window*) {},
    .confine_pointer = [](SDL_Window*, const SDL_Rect*) { return false; },
    .pointer_position = [](SDL_Window*, SDL_Point*) { return false; },
};

const DesktopAnswers* desktop = &null_desktop;

} // namespace

void choose_desktop() {
    const char* driver = SDL_GetCurrentVideoDriver();
    on_wayland = driver != nullptr && std::strcmp(driver, "wayland") == 0;
    const bool on_x = driver != nullptr && std::strcmp(driver, "x11") == 0;
    desktop = on_x ? &x_server_desktop : &null_desktop;
}

void catch_display_errors(void (*lost)()) {
    on_display_lost = lost;
    // Whatever driver SDL then chooses: X's handlers do nothing unless Xlib is used.
    x_server_desktop.catch_errors();
}

void lose_display(const char* server) {
    display_lost = true;
    say("the connection to %s was lost", server);
    if (on_display_lost != nullptr)
        on_display_lost(); // the game's own ending; it does not come back
}

bool display_is_lost() {
    return display_lost;
}

bool desktop_unmanaged(SDL_Window* window) {
    return desktop->unmanaged(window);
}

bool desktop_places_windows(SDL_Window* window) {
    return desktop->places_windows(window);
}

bool desktop_compositor_moves_pointer() {
    return desktop->compositor_moves_pointer();
}

bool desktop_client_position(SDL_Window* window, SDL_Point* at) {
    return desktop->client_position(window, at);
}

void desktop_frame_sides(SDL_Window* window, int* left, int* right) {
    desktop->frame_sides(window, left, right);
}

void desktop_show_window(SDL_Window* window, bool visible) {
    desktop->show_window(window, visible);
}

void desktop_show_again(SDL_Window* window) {
    desktop->show_again(window);
}

void desktop_move_window(SDL_Window* window, SDL_Point at) {
    desktop->move_window(window, at);
}

bool desktop_screen_size(SDL_Window* window, SDL_Point* size) {
    return desktop->screen_size(window, size);
}

int desktop_monitors(SDL_Window* window, SDL_Rect* monitors, int most) {
    const int count = std::clamp(SDL_GetNumVideoDisplays(), 0, most);
    SDL_Point screen{};
    const bool cut = window != nullptr && desktop_screen_size(window, &screen);
    const SDL_Rect whole{0, 0, screen.x, screen.y};
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(i, &bounds) == 0 &&
            (!cut || SDL_IntersectRect(&bounds, &whole, &bounds)))
            monitors[kept++] = bounds;
    }
    return kept;
}

bool desktop_window_exists(SDL_Window* window) {
    return desktop->window_exists(window);
}

bool desktop_destroyed_window(const SDL_SysWMmsg* message, SDL_Window* window) {
    return desktop->destroyed_window(message, window);
}

void desktop_tie_to_owner(SDL_Window* window, SDL_Window* owner) {
    desktop->tie_to_owner(window, owner);
}

bool desktop_confine_pointer(SDL_Window* window, const SDL_Rect* rect) {
    return desktop->confine_pointer(window, rect);
}

bool desktop_pointer_position(SDL_Window* window, SDL_Point* at) {
    return desktop->pointer_position(window, at);
}
