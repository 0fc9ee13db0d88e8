// The desktop on an X server: X errors that must not end the game, requests that never wait on
// the window manager, frames and places as the server sees them, pointer barriers across all
// monitors.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_desktop_answers.h"
#include "store/say.h"

namespace {

// While the game asks of windows that may go at any moment (a window manager's frame, a window
// asked whether it still stands), their going is no news.
bool asking_of_passing_windows = false;

struct AskingOfPassingWindows {
    AskingOfPassingWindows() { asking_of_passing_windows = true; }
    ~AskingOfPassingWindows() { asking_of_passing_windows = false; }
};

int report_once(Display* display, XErrorEvent* error) {
    static bool reported = false;
    if (asking_of_passing_windows && error->error_code == BadWindow)
        return 0;
    if (!reported) {
        reported = true;
        char text[160] = "";
        XGetErrorText(display, error->error_code, text, sizeof text);
        say("the X server refused a request (%s, request %d.%d); playing on", text,
            error->request_code, error->minor_code);
    }
    return 0;
}

int connection_lost(Display*) {
    lose_display("the X server");
    return 0;
}

void catch_errors() {
    // SDL's own handler passes the errors on to these, even while SDL shuts down.
    XSetErrorHandler(report_once);
    XSetIOErrorHandler(connection_lost);
}

struct X11Window {
    Display* display = nullptr;
    Window window = None;
};

X11Window x11_of(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (display_is_lost() || window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
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

enum class Support { unknown, listed, not_listed };

// Whether the window manager lists `feature` among those it supports.
Support manager_supports(const X11Window& x, const char* feature) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    Support support = Support::unknown;
    const Atom wanted = XInternAtom(x.display, feature, False);
    if (XGetWindowProperty(x.display, DefaultRootWindow(x.display),
                           XInternAtom(x.display, "_NET_SUPPORTED", False), 0, 1024, False, XA_ATOM,
                           &type, &format, &count, &left, &data) == Success &&
        data != nullptr) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        support = std::find(atoms, atoms + count, wanted) != atoms + count ? Support::listed
                                                                           : Support::not_listed;
    }
    if (data != nullptr)
        XFree(data);
    return support;
}

// Whether the window manager says it tells its frames' extents (i3 does not, and places the
// client itself where it is asked). Asked again until it says so: it may start after the game.
bool tells_frame_extents(const X11Window& x) {
    static bool told = false;
    told = told || manager_supports(x, "_NET_FRAME_EXTENTS") == Support::listed;
    return told;
}

bool has_manager(const X11Window& x) {
    const Atom check = XInternAtom(x.display, "_NET_SUPPORTING_WM_CHECK", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (check == None ||
        XGetWindowProperty(x.display, DefaultRootWindow(x.display), check, 0, 1, False,
                           AnyPropertyType, &type, &format, &count, &left, &data) != Success)
        return false;
    XFree(data);
    return count > 0;
}

bool unmanaged(SDL_Window* window) {
    const X11Window x = x11_of(window);
    return x.display != nullptr && !has_manager(x);
}

// A window manager that does not offer to move windows on request (_NET_MOVERESIZE_WINDOW,
// which openbox, i3, xfwm4, mutter and kwin all list) has them go where it likes: weston's for
// XWayland lists none, and ignores the place a program asks for. Others that ignore the place
// asked for are found out as the windows appear.
bool places_windows(SDL_Window* window) {
    const X11Window x = x11_of(window);
    return x.display != nullptr && has_manager(x) &&
           manager_supports(x, "_NET_MOVERESIZE_WINDOW") == Support::not_listed;
}

bool compositor_moves_pointer() {
    // XWayland names its monitors after itself.
    const char* name = SDL_GetDisplayName(0);
    return std::strcmp(SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "",
                       "x11") == 0 &&
           name != nullptr && std::strncmp(name, "XWAYLAND", 8) == 0;
}

bool client_position(SDL_Window* window, SDL_Point* at) {
    const X11Window x = x11_of(window);
    Window child = None;
    return x.display != nullptr &&
           XTranslateCoordinates(x.display, x.window, DefaultRootWindow(x.display), 0, 0, &at->x,
                                 &at->y, &child) != 0;
}

// How far the frame around the client area reaches out at its left, its right and its top: the
// frame window the manager put the client in, whatever the manager says of it (mutter counts its
// border as none, yet draws over the neighbour). False when the window has no frame.
bool frame_window_sides(SDL_Window* window, int* left, int* right, int* top) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return false;
    // The frame is the window holding the client that is a child of the root.
    const AskingOfPassingWindows asking;
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
    *top = client_y - outer.y;
    return true;
}

// Not yet framed, what the window manager told SDL of the frame it will have.
void frame_sides(SDL_Window* window, int* left, int* right) {
    int top = 0;
    if (!frame_window_sides(window, left, right, &top))
        SDL_GetWindowBordersSize(window, nullptr, left, nullptr, right);
}

void map_window(SDL_Window* window, bool visible) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return;
    if (visible) {
        XMapRaised(x.display, x.window);
    } else {
        XWithdrawWindow(x.display, x.window, DefaultScreen(x.display));
    }
    XFlush(x.display);
}

void show_again(SDL_Window* window) {
    map_window(window, true);
}

void move_window(SDL_Window* window, SDL_Point at) {
    const X11Window x = x11_of(window);
    if (x.display == nullptr)
        return;
    // A window manager that tells its frame's extents places the frame where the client asks
    // to be, so they are taken off: the frame as it stands, as the extents it tells may come
    // late (xfwm4, a window leaving the full screen). One that tells none (i3) places the client.
    int top = 0, left = 0, right = 0;
    if (tells_frame_extents(x) && !frame_window_sides(window, &left, &right, &top))
        SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr);
    XMoveWindow(x.display, x.window, at.x - left, at.y - top);
    XFlush(x.display);
}

bool screen_size(SDL_Window* window, SDL_Point* size) {
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

bool window_exists(SDL_Window* window) {
    const X11Window x = x11_of(window);
    XWindowAttributes attributes{};
    const AskingOfPassingWindows asking;
    return x.display == nullptr || XGetWindowAttributes(x.display, x.window, &attributes) != 0;
}

bool destroyed_window(const SDL_SysWMmsg* message, SDL_Window* window) {
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11 ||
        message->msg.x11.event.type != DestroyNotify)
        return false;
    const X11Window x = x11_of(window);
    return x.display != nullptr && message->msg.x11.event.xdestroywindow.window == x.window;
}

void tie_to_owner(SDL_Window* window, SDL_Window* owner) {
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

// Barriers across the whole X screen, so that no monitor offers a way round. Under XWayland
// the compositor moves the real pointer, and barriers hold nothing.
bool confine_pointer(SDL_Window* window, const SDL_Rect* rect) {
    remove_barriers();
    const X11Window x = x11_of(window);
    if (x.display == nullptr || compositor_moves_pointer())
        return false;
    if (rect == nullptr)
        return true;
    int event_base = 0, error_base = 0;
    if (!XFixesQueryExtension(x.display, &event_base, &error_base))
        return false;
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

bool pointer_position(SDL_Window* window, SDL_Point* at) {
    const X11Window x = x11_of(window);
    Window root = None, child = None;
    int window_x = 0, window_y = 0;
    unsigned int buttons = 0;
    return x.display != nullptr && XQueryPointer(x.display, x.window, &root, &child, &at->x, &at->y,
                                                 &window_x, &window_y, &buttons) != 0;
}

} // namespace

const DesktopAnswers x_server_desktop = {
    .driver = "x11",
    .catch_errors = catch_errors,
    .unmanaged = unmanaged,
    .places_windows = places_windows,
    .compositor_moves_pointer = compositor_moves_pointer,
    .client_position = client_position,
    .frame_sides = frame_sides,
    .show_window = map_window,
    .show_again = show_again,
    .move_window = move_window,
    .screen_size = screen_size,
    .window_exists = window_exists,
    .destroyed_window = destroyed_window,
    .tie_to_owner = tie_to_owner,
    .confine_pointer = confine_pointer,
    .pointer_position = pointer_position,
    .connection_lost = [](SDL_Window*) { return false; },
    .watch_pump = [](SDL_Window*) {},
};
