// The desktop seam: the desktop chosen by SDL's video driver, and the null desktop, which answers
// with what SDL alone knows for the drivers that show nothing.
#include "platform/sdl/sdl_desktop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/sdl/sdl_desktop_answers.h"
#include "store/say.h"

namespace {

void (*on_display_lost)() = nullptr;
bool display_lost = false;
std::atomic<bool> ended_elsewhere{false};

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

const DesktopAnswers null_desktop = null_answers();
const DesktopAnswers* desktop = &null_desktop;

} // namespace

DesktopAnswers null_answers() {
    return {
        .driver = "",
        .catch_errors = [] {},
        .unmanaged = [](SDL_Window*) { return false; },
        .places_windows = [](SDL_Window*) { return false; },
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
        .connection_lost = [](SDL_Window*) { return false; },
        .watch_pump = [](SDL_Window*) {},
    };
}

void choose_desktop() {
    const char* driver = SDL_GetCurrentVideoDriver();
    desktop = &null_desktop;
    for (size_t i = 0; i < system_desktop_count; ++i)
        if (driver != nullptr && std::strcmp(driver, system_desktops[i]->driver) == 0)
            desktop = system_desktops[i];
}

void catch_display_errors(void (*lost)()) {
    on_display_lost = lost;
    // Whatever driver SDL then chooses: X's handlers do nothing unless Xlib is used.
    for (size_t i = 0; i < system_desktop_count; ++i)
        system_desktops[i]->catch_errors();
}

void lose_display(const char* server) {
    display_lost = true;
    say("the connection to %s was lost", server);
    if (on_display_lost != nullptr)
        on_display_lost(); // the game's own ending; it does not come back
}

void end_with_the_session() {
    display_lost = true; // nothing more is asked of the windows: the system takes them down
    say("the session is ending: the game ends");
    if (on_display_lost != nullptr)
        on_display_lost();
}

void lose_display_elsewhere(const char* server) {
    ended_elsewhere = true;
    lose_display(server);
}

void wait_if_ended_elsewhere() {
    while (ended_elsewhere)
        std::this_thread::sleep_for(std::chrono::hours(1));
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

bool desktop_connection_lost(SDL_Window* window) {
    return desktop->connection_lost(window);
}

void desktop_watch_pump(SDL_Window* window) {
    desktop->watch_pump(window);
}
