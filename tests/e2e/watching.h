// Looking at the running game over time: the overlay, and waiting for what should show.
#pragma once

#include "tests/e2e/game_session.h"
#include "tests/e2e/overlay.h"
#include "tests/e2e/polling.h"

struct OverlayLook {
    bool taken = false; // both pictures were taken
    Image first, second;
    OverlayReading reading;
};

// Two pictures of the view a few frames apart, and the overlay they show.
OverlayLook look_at_overlay(GameSession* session);

// Looks again and again until the overlay of this kind shows; *last holds the last look.
bool wait_for_overlay(GameSession* session, OverlayKind kind, Milliseconds limit,
                      OverlayLook* last);

// Looks again and again until a picture passes the check; *last holds the last picture.
template <typename Check>
bool wait_for_picture(GameSession* session, Milliseconds limit, Image* last, Check check) {
    return poll_until(limit, Milliseconds(40), [&] {
        auto picture = view_picture(session);
        if (!picture)
            return false;
        *last = std::move(*picture);
        return check(*last);
    });
}
