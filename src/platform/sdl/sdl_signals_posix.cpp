// SIGTERM, SIGINT and SIGHUP end the game as closing its window does: the handler only notes
// the signal, and the event loop turns it into the main window's destroy message.
#include "platform/sdl/sdl_signals.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t end_asked = 0;

void note_signal(int) {
    end_asked = 1;
}

} // namespace

void catch_end_signals() {
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool end_was_asked() {
    if (end_asked == 0)
        return false;
    end_asked = 0;
    return true;
}

bool end_is_asked() {
    return end_asked != 0;
}
