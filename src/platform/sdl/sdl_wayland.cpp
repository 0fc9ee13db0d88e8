// The desktop on Wayland: a program has no say where its windows go, and what SDL does not tell
// of a native Wayland connection, and what it cannot get out of.
#include <poll.h>

#include <chrono>
#include <thread>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_desktop_answers.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_signals.h"

// Last: SDL's system header brings the X11 headers' macros with it.
#include <SDL_syswm.h>
#include <wayland-client.h>

namespace {

constexpr Uint64 stuck_ms = 1000; // no pass of the loop stays this long in the pump

wl_display* wayland_display(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_WAYLAND)
        return nullptr;
    return info.info.wl.display;
}

// A compositor gone closes its end of the socket, which nothing else tells until the game next
// writes to it: a paused game writes nothing, and reading gives nothing, for ever.
bool hung_up(int fd) {
    pollfd end{fd, POLLRDHUP, 0};
    return poll(&end, 1, 0) == 1 && (end.revents & (POLLHUP | POLLRDHUP | POLLERR)) != 0;
}

bool connection_lost(SDL_Window* window) {
    wl_display* display = wayland_display(window);
    return display != nullptr &&
           (wl_display_get_error(display) != 0 || hung_up(wl_display_get_fd(display)));
}

void watch_pump(SDL_Window* window) {
    wl_display* display = wayland_display(window);
    if (display == nullptr)
        return;
    std::thread([fd = wl_display_get_fd(display)] {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const Uint64 since = pumping_since();
            if (since == 0 || SDL_GetTicks64() - since < stuck_ms ||
                !(end_is_asked() || hung_up(fd)))
                continue;
            // The game's own ending, here; no return.
            lose_display_elsewhere("the Wayland compositor");
        }
    }).detach();
}

DesktopAnswers wayland_answers() {
    DesktopAnswers answers = null_answers();
    answers.driver = "wayland";
    answers.places_windows = [](SDL_Window*) { return true; };
    answers.connection_lost = connection_lost;
    answers.watch_pump = watch_pump;
    return answers;
}

} // namespace

const DesktopAnswers wayland_desktop = wayland_answers();
