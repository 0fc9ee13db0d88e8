// X errors that must not end the game, and whether a window manager frames the windows.
#include "platform/sdl/sdl_x11.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>

namespace {

int report_once(Display* display, XErrorEvent* error) {
    static bool reported = false;
    if (!reported) {
        reported = true;
        char text[160] = "";
        XGetErrorText(display, error->error_code, text, sizeof text);
        std::fprintf(stderr,
                     "zarnok3d: the X server refused a request (%s, request %d.%d); "
                     "playing on\n",
                     text, error->request_code, error->minor_code);
    }
    return 0;
}

} // namespace

void catch_x_errors() {
    // Set before SDL starts: SDL's own handler passes the errors on to it, even while SDL shuts
    // down.
    XSetErrorHandler(report_once);
}

X11Desktop x11_desktop(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return X11Desktop::other;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (check == None ||
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType,
                           &type, &format, &count, &left, &data) != Success)
        return X11Desktop::bare;
    XFree(data);
    return count > 0 ? X11Desktop::managed : X11Desktop::bare;
}
