// The desktop on Windows: the windows' frames as the desktop draws them, the gun window owned
// by the main one, the real pointer, and the end of the session (logging off, shutting down),
// which saves the player's files as SIGTERM does on Linux.
#include <SDL_syswm.h>
#include <dwmapi.h>
#include <dxgi.h>

#include <iterator>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_desktop_answers.h"
#include "platform/sdl/sdl_renderer.h"

namespace {

HWND window_of(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_WINDOWS)
        return nullptr;
    return info.info.win.window;
}

bool client_position(SDL_Window* window, SDL_Point* at) {
    POINT origin{0, 0};
    const HWND hwnd = window_of(window);
    if (hwnd == nullptr || !ClientToScreen(hwnd, &origin))
        return false;
    *at = {origin.x, origin.y};
    return true;
}

// The frame as the desktop draws it (without the invisible edges it grabs the mouse by), else
// as SDL tells it.
void frame_sides(SDL_Window* window, int* left, int* right) {
    const HWND hwnd = window_of(window);
    RECT frame{}, client{};
    POINT origin{0, 0};
    if (hwnd != nullptr &&
        DwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame) == S_OK &&
        GetClientRect(hwnd, &client) && ClientToScreen(hwnd, &origin)) {
        *left = origin.x - frame.left;
        *right = frame.right - (origin.x + client.right);
        return;
    }
    SDL_GetWindowBordersSize(window, nullptr, left, nullptr, right);
}

bool window_exists(SDL_Window* window) {
    const HWND hwnd = window_of(window);
    return hwnd == nullptr || IsWindow(hwnd);
}

// Owned by the main window: above it, minimised with it, out of the task bar, and never taking
// the keyboard from it.
void tie_to_owner(SDL_Window* window, SDL_Window* owner) {
    const HWND hwnd = window_of(window);
    const HWND owner_hwnd = window_of(owner);
    if (hwnd == nullptr || owner_hwnd == nullptr)
        return;
    SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_hwnd));
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE);
}

bool pointer_position(SDL_Window*, SDL_Point* at) {
    POINT pointer{};
    if (!GetCursorPos(&pointer))
        return false;
    *at = {pointer.x, pointer.y};
    return true;
}

WNDPROC sdl_window_proc = nullptr;

// The session's end is sent to the main window and waits for no queue: the game ends inside it,
// before the system ends the process.
LRESULT CALLBACK main_window_messages(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_QUERYENDSESSION)
        return TRUE;
    if (message == WM_ENDSESSION && wparam != FALSE)
        end_with_the_session();
    return CallWindowProcW(sdl_window_proc, hwnd, message, wparam, lparam);
}

void watch_session(SDL_Window* window) {
    const HWND hwnd = window_of(window);
    if (hwnd == nullptr || sdl_window_proc != nullptr)
        return;
    sdl_window_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(main_window_messages)));
}

DesktopAnswers windows_answers() {
    DesktopAnswers answers = null_answers();
    answers.driver = "windows";
    answers.client_position = client_position;
    answers.frame_sides = frame_sides;
    answers.window_exists = window_exists;
    answers.tie_to_owner = tie_to_owner;
    answers.pointer_position = pointer_position;
    answers.watch_pump = watch_session;
    return answers;
}

} // namespace

const DesktopAnswers windows_desktop = windows_answers();
const DesktopAnswers* const system_desktops[] = {&windows_desktop};
const size_t system_desktop_count = std::size(system_desktops);

// A card of the machine's own, as Direct3D's adapters tell: not Windows' software adapter. Under
// Wine the adapter Direct3D tells of is Wine's own invention, whatever draws behind it (on a
// machine without a card, the processor through a software OpenGL): Wine counts as none.
bool has_graphics_device() {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr)
        return false;
    IDXGIFactory1* factory = nullptr;
    if (CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory)) != S_OK)
        return false;
    constexpr UINT microsoft = 0x1414; // the vendor of the software adapter
    bool found = false;
    IDXGIAdapter1* adapter = nullptr;
    for (UINT i = 0; !found && factory->EnumAdapters1(i, &adapter) == S_OK; ++i) {
        DXGI_ADAPTER_DESC1 description{};
        found = adapter->GetDesc1(&description) == S_OK &&
                (description.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) == 0 &&
                description.VendorId != microsoft;
        adapter->Release();
    }
    factory->Release();
    return found;
}
