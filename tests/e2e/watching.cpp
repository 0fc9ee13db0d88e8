// Pairs of pictures for the overlay, and polling for it.
#include "tests/e2e/watching.h"

#include "tests/e2e/polling.h"

OverlayLook look_at_overlay(GameSession* session) {
    OverlayLook look;
    auto first = view_picture(session);
    // The text changes colour with every frame; a few milliseconds apart are enough.
    pause_for(Milliseconds(30));
    auto second = view_picture(session);
    if (!first || !second)
        return look;
    look.taken = true;
    look.first = std::move(*first);
    look.second = std::move(*second);
    look.reading = read_overlay(look.first, look.second);
    return look;
}

bool wait_for_overlay(GameSession* session, OverlayKind kind, Milliseconds limit,
                      OverlayLook* last) {
    return poll_until(limit, Milliseconds(100), [&] {
        *last = look_at_overlay(session);
        return last->taken && overlay_kind(last->reading) == kind;
    });
}
