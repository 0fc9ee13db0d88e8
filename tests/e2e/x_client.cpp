// A short-lived Xlib connection per request.
#include "tests/e2e/x_client.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdlib>

bool ask_window_to_close(const std::string& display, const std::string& window) {
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr)
        return false;
    const Window target = static_cast<Window>(std::strtoul(window.c_str(), nullptr, 0));
    // The close request is a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(connection, target, False, NoEventMask, &event);
    XSync(connection, False);
    XCloseDisplay(connection);
    return sent != 0;
}

std::string root_window(const std::string& display) {
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr)
        return {};
    const Window root = DefaultRootWindow(connection);
    XCloseDisplay(connection);
    return std::to_string(root);
}

std::optional<bool> cursor_visible(const std::string& display) {
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr)
        return std::nullopt;
    int event_base = 0, error_base = 0;
    std::optional<bool> visible;
    if (XFixesQueryExtension(connection, &event_base, &error_base)) {
        XFixesCursorImage* image = XFixesGetCursorImage(connection);
        if (image != nullptr) {
            bool opaque = false;
            for (int i = 0; i < image->width * image->height && !opaque; ++i)
                opaque = ((image->pixels[i] >> 24) & 0xFF) != 0;
            visible = opaque;
            XFree(image);
        }
    }
    XCloseDisplay(connection);
    return visible;
}
