// What the desktop does to a window, and what of it is the player's doing.
#include "platform/sdl/sdl_window_state.h"

namespace {

constexpr Uint64 map_wait_ms = 250;     // a window not shown by then is asked for again
constexpr Uint64 mapping_time_ms = 500; // a window manager's own states while it maps one

} // namespace

void note_asked(WindowState* state, bool visible, Uint64 now) {
    state->asked_visible = visible;
    state->map_again_at = now + map_wait_ms;
    if (visible) {
        state->mapping_until = now + mapping_time_ms;
        state->exposed_since_map = false;
    }
    state->mapped_once = state->mapped_once || visible;
}

bool ask_again(WindowState* state, bool visible, bool shown_now, Uint64 now) {
    if (!visible || state->minimised || now < state->map_again_at || shown_now)
        return false;
    state->map_again_at = now + map_wait_ms;
    return true;
}

bool minimise_is_players(const WindowState& state, Uint64 now) {
    return state.asked_visible && state.exposed_since_map && now >= state.mapping_until;
}
