// X errors that must not end the game, requests that never wait on the window manager, and
// pointer barriers across all monitors.
#include "platform/sdl/sdl_x11.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void (*on_display_lost)() = nullptr;
bool display_lost = false;

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

int connection_lost(Display*) {
    lose_display("the X server");
    return 0;
}

struct X11Window {
    Display* display = nullptr;
    Window window = None;
};

X11Window x11_of(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (display_lost || window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return {};
    return {info.info.x11.display, info.info.x11.window};
}

// The barriers in place now, and the display they were made on.
PointerBarrier barriers[4] = {};
Display* barrier_display = nullptr;

void remove_barriers() {
    if (barrier_display == nullptr)
        return;
    for (PointerBarrier& barrier : barriers)
        if (barrier != 0)
            XFixesDestroyPointerBarrier(barrier_display, barrier);
    std::memset(barriers, 0, sizeof barriers);
    XFlush(barrier_display);
    barrier_display = nullptr;
}

// Whether the window manager says it tells its frames' extents (i3 does not, and places the
// client itself where it is asked). Asked again until it says so: it may start after the game.
bool tells_frame_extents(const X11Window& x) {
    static bool told = false;
    if (told)
        return true;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const Atom wanted = XInternAtom(x.display, "_NET_FRAME_EXTENTS", False);
    if (XGetWindowProperty(x.display, DefaultRootWindow(x.display),
                           XInternAtom(x.display, "_NET_SUPPORTED", False), 0, 1024, False, XA_ATOM,
                           &type, &format, &count, &left, &data) == Success &&
        data != nullptr) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        told = std::find(atoms, atoms + count, wanted) != atoms + count;
    }
    if (data != nullptr)
        XFree(data);
    return told;
}

} // namespace

void catch_x_errors(void (*lost)()) {
    // Set before SDL starts: SDL's own handler passes the errors on to it, even while SDL shuts
    // down.
    on_display_lost = lost;
    XSetErrorHandler(report_once);
    XSetIOErrorHandler(connection_lost);
}

void lose_display(const char* server) {
    display_lost = true;
    std::fprintf(stderr, "zarnok3d: the connection to %s was lost\n", server);
    if (on_display_lost != nullptr)
        on_display_lost(); // the game's own ending; it does not come back
}

bool display_is_lost() {
    return display_lost;
}

X11Desktop x11_desktop(SDL_Window* window) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return X11Desktop::other;
    const Atom check = XInternAtom(x.display, "_NET_SUPPORTING_WM_CHECK", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (check == None ||
        XGetWindowProperty(x.display, DefaultRootWindow(x.display), check, 0, 1, False,
                           AnyPropertyType, &type, &format, &count, &left, &data) != Success)
        return X11Desktop::bare;
    XFree(data);
    return count > 0 ? X11Desktop::managed : X11Desktop::bare;
}

bool x11_is_xwayland() {
    // XWayland names its monitors after itself.
    const char* name = SDL_GetDisplayName(0);
    return std::strcmp(SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "",
                       "x11") == 0 &&
           name != nullptr && std::strncmp(name, "XWAYLAND", 8) == 0;
}

const char* x11_window_manager_name(SDL_Window* window) {
    static char name[64];
    name[0] = '\0';
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return name;
    const auto window_property = [&](Window of, const char* atom_name, Atom type,
                                     unsigned char** data) {
        const Atom atom = XInternAtom(x.display, atom_name, True);
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, left = 0;
        *data = nullptr;
        return atom != None &&
               XGetWindowProperty(x.display, of, atom, 0, 16, False, type, &actual, &format, &count,
                                  &left, data) == Success &&
               *data != nullptr && count > 0;
    };
    unsigned char* check = nullptr;
    if (window_property(DefaultRootWindow(x.display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW,
                        &check)) {
        unsigned char* text = nullptr;
        const Atom utf8 = XInternAtom(x.display, "UTF8_STRING", False);
        if (window_property(*reinterpret_cast<Window*>(check), "_NET_WM_NAME", utf8, &text))
            std::snprintf(name, sizeof name, "%s", reinterpret_cast<char*>(text));
        XFree(text);
    }
    XFree(check);
    return name;
}

bool x11_client_position(SDL_Window* window, SDL_Point* at) {
    const X11Window x = x11_of(window);
    Window child = None;
    return x.display != nullptr &&
           XTranslateCoordinates(x.display, x.window, DefaultRootWindow(x.display), 0, 0, &at->x,
                                 &at->y, &child) != 0;
}

bool x11_frame_sides(SDL_Window* window, int* left, int* right, int* top) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return false;
    // The frame is the window holding the client that is a child of the root.
    Window frame = x.window, root = None, parent = None;
    for (;;) {
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(x.display, frame, &root, &parent, &children, &count) == 0)
            return false;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == None)
            break;
        frame = parent;
    }
    XWindowAttributes client{}, outer{};
    Window child = None;
    int client_x = 0, client_y = 0;
    if (frame == x.window || XGetWindowAttributes(x.display, x.window, &client) == 0 ||
        XGetWindowAttributes(x.display, frame, &outer) == 0 ||
        XTranslateCoordinates(x.display, x.window, root, 0, 0, &client_x, &client_y, &child) == 0)
        return false;
    *left = client_x - outer.x;
    *right = outer.x + outer.width + 2 * outer.border_width - client_x - client.width;
    if (top != nullptr)
        *top = client_y - outer.y;
    return true;
}

bool x11_map_window(SDL_Window* window, bool visible) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return false;
    if (visible) {
        XMapRaised(x.display, x.window);
    } else {
        XWithdrawWindow(x.display, x.window, DefaultScreen(x.display));
    }
    XFlush(x.display);
    return true;
}

bool x11_move_window(SDL_Window* window, SDL_Point at) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return false;
    // A window manager that tells its frame's extents places the frame where the client asks
    // to be, so they are taken off: the frame as it stands, as the extents it tells may come
    // late (xfwm4, a window leaving the full screen). One that tells none (i3) places the client.
    int top = 0, left = 0, right = 0;
    if (tells_frame_extents(x) && !x11_frame_sides(window, &left, &right, &top))
        SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr);
    XMoveWindow(x.display, x.window, at.x - left, at.y - top);
    XFlush(x.display);
    return true;
}

bool x11_screen_size(SDL_Window* window, SDL_Point* size) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return false;
    Window root = None;
    int left = 0, top = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    if (XGetGeometry(x.display, DefaultRootWindow(x.display), &root, &left, &top, &width, &height,
                     &border, &depth) == 0)
        return false;
    *size = {static_cast<int>(width), static_cast<int>(height)};
    return true;
}

bool x11_window_exists(SDL_Window* window) {
    const X11Window x = x11_of(window);
    XWindowAttributes attributes{};
    return x.display == nullptr || XGetWindowAttributes(x.display, x.window, &attributes) != 0;
}

void x11_tie_to_owner(SDL_Window* window, SDL_Window* owner) {
    const X11Window x = x11_of(window);
    const X11Window o = x11_of(owner);
    if (x.display == nullptr || o.display == nullptr)
        return;
    XSetTransientForHint(x.display, x.window, o.window);
    // It never takes the keyboard from its owner when it is shown.
    if (XWMHints* hints = XGetWMHints(x.display, x.window)) {
        hints->flags |= InputHint;
        hints->input = False;
        XSetWMHints(x.display, x.window, hints);
        XFree(hints);
    }
    XFlush(x.display);
}

bool x11_confine_pointer(SDL_Window* window, const SDL_Rect* rect) {
    remove_barriers();
    const X11Window x = x11_of(window);
    if (x.display == nullptr || x11_is_xwayland())
        return false;
    if (rect == nullptr)
        return true;
    int event_base = 0, error_base = 0;
    if (!XFixesQueryExtension(x.display, &event_base, &error_base))
        return false;
    // Each barrier runs across the whole X screen, over every monitor.
    const int width = DisplayWidth(x.display, DefaultScreen(x.display));
    const int height = DisplayHeight(x.display, DefaultScreen(x.display));
    const int left = rect->x, top = rect->y;
    const int right = rect->x + rect->w - 1, bottom = rect->y + rect->h - 1;
    barrier_display = x.display;
    barriers[0] = XFixesCreatePointerBarrier(x.display, DefaultRootWindow(x.display), left, 0, left,
                                             height, BarrierPositiveX, 0, nullptr);
    barriers[1] = XFixesCreatePointerBarrier(x.display, DefaultRootWindow(x.display), right + 1, 0,
                                             right + 1, height, BarrierNegativeX, 0, nullptr);
    barriers[2] = XFixesCreatePointerBarrier(x.display, DefaultRootWindow(x.display), 0, top, width,
                                             top, BarrierPositiveY, 0, nullptr);
    barriers[3] = XFixesCreatePointerBarrier(x.display, DefaultRootWindow(x.display), 0, bottom + 1,
                                             width, bottom + 1, BarrierNegativeY, 0, nullptr);
    XFlush(x.display);
    return true;
}

bool x11_pointer_position(SDL_Window* window, SDL_Point* at) {
    const X11Window x = x11_of(window);
    Window root = None, child = None;
    int window_x = 0, window_y = 0;
    unsigned int buttons = 0;
    return x.display != nullptr && XQueryPointer(x.display, x.window, &root, &child, &at->x, &at->y,
                                                 &window_x, &window_y, &buttons) != 0;
}

bool x11_destroyed_window(const SDL_SysWMmsg* message, SDL_Window* window) {
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11 ||
        message->msg.x11.event.type != DestroyNotify)
        return false;
    const X11Window x = x11_of(window);
    return x.display != nullptr && message->msg.x11.event.xdestroywindow.window == x.window;
}
