// What the desktop does to a window: shown or hidden as the game asked, mapped, minimised,
// given the focus, destroyed by another program.
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
