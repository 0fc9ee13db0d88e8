// Starting SDL's video for the game, and the screen as the game counts it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_signals.h"
#include "platform/sdl/sdl_windows.h"
#include "store/say.h"

namespace {

// The X server went away: the game ends as its window's close ends it, without the display.
void end_without_display() {
    if (PlatformWindow* main = first_window())
        main->proc(main, MessageKind::destroy, 0, 0);
    std::exit(0);
}

} // namespace

bool open_platform() {
    // Clicks reach the game whether or not they also focus a window, and the mouse is never
    // captured: the game only hears about the mouse over its own windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // SDL would turn SIGINT and SIGTERM into a quit that skips the game's own ending.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // On Wayland SDL would stand in for a warp of the hidden pointer by locking it, which it
    // then lets go of wrongly (a crash under mutter); the pointer is held by confinement there.
    SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_EMULATE_MOUSE_WARP, "0");
    // On Windows the windows count in the screen's own pixels on every monitor, as on X, and the
    // game scales its views itself by whole numbers.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    // The game has its own main, which hands SDL a command line already read.
    SDL_SetMainReady();
    catch_end_signals();
    catch_display_errors(end_without_display);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        say("cannot open the display: %s", SDL_GetError());
        return false;
    }
    choose_desktop();
    // Without a display SDL falls back to drivers that show nothing; the game would then run
    // unseen for ever. They are used only when asked for by name, as the tests do.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible = driver != nullptr && (std::strcmp(driver, "offscreen") == 0 ||
                                                 std::strcmp(driver, "dummy") == 0);
    if (invisible && (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
        say("cannot open the display: no X11 or Wayland display found (is DISPLAY set?)");
        SDL_Quit();
        return false;
    }
    // On X a plain shared-memory copy per frame is several times faster than SDL's default path,
    // which goes through software OpenGL on a plain X server; the drivers that show nothing
    // (a timed replay) have a plain copy of their own too, and Windows its GDI copy. Wayland has
    // no such copy: SDL's own path it is.
    if (driver != nullptr &&
        (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "windows") == 0 || invisible))
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Tells of windows that other programs destroy.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

SystemMetrics system_metrics() {
    // The primary monitor, at the main window's scale there.
    SystemMetrics metrics{};
    SDL_Rect primary{};
    const PlatformWindow* main = first_window();
    const int32_t scale = main != nullptr ? main->place.natural_scale : 1;
    if (SDL_GetDisplayBounds(0, &primary) == 0) {
        metrics.screen_width = primary.w / scale;
        metrics.screen_height = primary.h / scale;
    }
    return metrics;
}
