// What SDL does not tell of a native Wayland connection.
#include "platform/sdl/sdl_wayland.h"

#include <SDL_syswm.h>
#include <wayland-client.h>

bool wayland_connection_lost(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_WAYLAND || info.info.wl.display == nullptr)
        return false;
    return wl_display_get_error(info.info.wl.display) != 0;
}
