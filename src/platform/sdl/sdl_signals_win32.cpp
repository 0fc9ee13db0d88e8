// On Windows a console's Ctrl+C, Ctrl+Break or close ends the game as closing its window does:
// the handler, on a thread of the system's, only notes it, and the event loop turns it into the
// main window's destroy message.
#include <windows.h>

#include <atomic>

#include "platform/sdl/sdl_signals.h"

namespace {

std::atomic<bool> end_asked{false};

BOOL WINAPI note_console_event(DWORD event) {
    end_asked = true;
    // A console closed, or the session ending, ends the process once this returns: the game's
    // own ending, on its own thread, takes the time it needs (the process ends within it).
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(5000);
    return TRUE;
}

} // namespace

void catch_end_signals() {
    SetConsoleCtrlHandler(note_console_event, TRUE);
}

bool end_was_asked() {
    return end_asked.exchange(false);
}

bool end_is_asked() {
    return end_asked;
}
