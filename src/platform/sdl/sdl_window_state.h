// What the desktop does to a window: shown or hidden as the game asked, mapped, minimised,
// given the focus, destroyed by another program; and the window manager's own doings while it
// maps a window, which are not the player's.
#pragma once

#include <SDL.h>

struct WindowState {
    bool shown;             // as the game asked; the desktop hears of it at the next pass
    bool asked_visible;     // what the desktop was last asked
    Uint64 map_again_at;    // when to ask again for a window still not shown
    Uint64 mapping_until;   // till then a minimise is the manager's, mapping the window
    bool mapped_once;       // shown at least once
    bool exposed_since_map; // seen since it was last mapped
    bool minimised;
    bool minimise_heard; // SDL said so; it counts once the batch of events is read
    bool focused;
    bool gone; // destroyed by another program
};

// What the desktop was asked, at `now`: a window shown is watched for a while for the states a
// window manager passes it through while mapping it.
void note_asked(WindowState* state, bool visible, Uint64 now);
// Whether a window the desktop should show and has not shown yet is asked again now (a window
// manager that was itself starting may have let the request go by).
bool ask_again(WindowState* state, bool visible, bool shown_now, Uint64 now);
// Whether SDL's telling that the window was minimised is the player's doing: not a window the
// game withdrew (SDL tells that as minimised), nor one not yet seen, nor within the first
// moments of its mapping (kwin: hidden, minimised, restored).
bool minimise_is_players(const WindowState& state, Uint64 now);
