// The window code's rules that need no display: when the gun view goes into the main window,
// the scale a window takes on another monitor, when a minimise is the player's, and whether
// presents keep the refresh's pace.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/sdl/sdl_pacing.h"
#include "platform/sdl/sdl_placement.h"
#include "platform/sdl/sdl_window_state.h"

namespace {

// The gun view goes into the main window when asked, or left to the game where the desktop
// places windows itself or refused the gun window the first place it was given.
TEST(Placement, OneWindowWhereTheGunWindowCannotBePlaced) {
    using enum WindowArrangement;
    struct Case {
        const char* what;
        WindowArrangement arrangement;
        bool places_itself, first_placing, elsewhere, one_window;
    };
    const Case cases[] = {
        {"asked for", one_window, false, true, false, true},
        {"two asked for, refused", two_windows, true, true, true, false},
        {"a desktop that places windows", automatic, true, true, false, true},
        {"refused its first place", automatic, false, true, true, true},
        {"refused a later place", automatic, false, false, true, false},
        {"placed", automatic, false, true, false, false},
    };
    WindowPlacement early{};
    early.placed_by = 600;
    early.answered = true;
    EXPECT_TRUE(judge_placing(&early, 599, true) == Placing::not_yet) << "judged too early";
    // A window manager slowed down by a busy machine has not refused while it has not answered.
    early.answered = false;
    early.first_placing = true;
    EXPECT_TRUE(judge_placing(&early, 3599, true) == Placing::not_yet) << "judged before its answer";
    EXPECT_TRUE(judge_placing(&early, 3600, true) == Placing::first_place_refused) << "no answer";
    for (const Case& c : cases) {
        WindowPlacement gun{};
        gun.placed_by = 600;
        gun.first_placing = c.first_placing;
        const bool refused = judge_placing(&gun, 3600, c.elsewhere) == Placing::first_place_refused;
        EXPECT_EQ(one_window_chosen(c.arrangement, c.places_itself, refused), c.one_window)
            << c.what;
    }
}

// A window left on a monitor of another scale takes that scale: a monitor 1080 high at the
// left, the primary 2160 high at its right, views 400 high.
TEST(Placement, AWindowTakesTheScaleOfTheMonitorUnderItsMiddle) {
    const SDL_Rect monitors[] = {{0, 0, 1920, 1080}, {1920, 0, 3840, 2160}};
    struct Case {
        SDL_Point at;
        int32_t natural_scale, new_scale;
    };
    const Case cases[] = {
        {{100, 100}, 1, 0},  {{2500, 500}, 1, 2}, {{2500, 500}, 2, 0},  {{200, 200}, 2, 1},
        {{1600, 100}, 1, 0}, {{1800, 100}, 1, 2}, {{-900, -900}, 2, 0}, {{100, 1500}, 1, 0},
    };
    for (const Case& c : cases) {
        WindowPlacement window{};
        window.at = c.at;
        window.natural_scale = c.natural_scale;
        const SDL_Point size{400 * c.natural_scale, 400 * c.natural_scale};
        EXPECT_EQ(new_scale(window, size, monitors, 2, 400), c.new_scale)
            << c.at.x << "," << c.at.y << " at scale " << c.natural_scale;
    }
}

// A minimise told by SDL is the player's once the window is shown as asked, seen, and past the
// moments of its mapping (kwin passes a window it maps through minimised).
TEST(WindowState, AMinimiseIsThePlayersOnceTheWindowIsSeenAndMapped) {
    struct Case {
        const char* what;
        bool asked_visible, exposed;
        Uint64 now;
        bool players;
    };
    const Case cases[] = {
        {"seen and mapped", true, true, 500, true},
        {"withdrawn by the game", false, true, 500, false},
        {"not yet seen", true, false, 500, false},
        {"being mapped", true, true, 499, false},
    };
    for (const Case& c : cases) {
        WindowState state{};
        state.asked_visible = c.asked_visible;
        state.exposed_since_map = c.exposed;
        state.mapping_until = 500;
        EXPECT_EQ(minimise_is_players(state, c.now), c.players) << c.what;
    }
}

// Presents that promise vsync, on a clock of 1000 units per refresh: runs of (interval, how
// many) after a first present, and whether they are still taken to pace the passes.
TEST(FramePacing, PresentsFasterThanTheRefreshStopPacing) {
    struct Case {
        const char* what;
        std::vector<std::pair<uint64_t, int>> runs;
        bool kept;
    };
    const Case cases[] = {
        {"at the refresh", {{1000, 60}}, true},
        {"twice as fast", {{500, 60}}, false},
        {"twice as fast, one short of a judgement", {{500, 59}}, true},
        {"3% fast", {{970, 60}}, true},
        {"4% fast", {{960, 60}}, false},
        {"fast, a pause restarting the count", {{500, 30}, {2001, 1}, {500, 59}}, true},
        {"slower than the refresh", {{1700, 120}}, true},
    };
    for (const Case& c : cases) {
        SwapPace pace;
        uint64_t now = 5000;
        bool kept = judge_swap(&pace, now, 1000);
        for (const auto& [interval, count] : c.runs)
            for (int i = 0; i < count; ++i)
                kept = judge_swap(&pace, now += interval, 1000);
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

} // namespace
