// Starting SDL's video for the game, and the screen as the game counts it.
#include <cstdio>
#include <cstring>

#include "platform/sdl/sdl_signals.h"
#include "platform/sdl/sdl_windows.h"
#include "platform/sdl/sdl_x11.h"

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
        metrics.screen_width = mode.w / desktop_scale();
        metrics.screen_height = mode.h / desktop_scale();
    }
    return metrics;
}
