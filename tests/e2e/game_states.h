// The game's states as a player tells them apart: the overlay or the side screen in the view,
// the HUD, the targets falling or standing still, the aim line and the cursor.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/game_session.h"
#include "tests/e2e/overlay.h"

enum class GameState { playing, paused, over, naming };
enum class SideScreen { none, help, hiscores, about };

// A game state, and the side screen over it if one is shown.
struct Shown {
    GameState state = GameState::playing;
    SideScreen screen = SideScreen::none;
};

// "paused", "over and naming under the help screen".
std::string name_of(Shown shown);
// The key that opens the screen: "F1", "F5" or "F7".
const char* key_of(SideScreen screen);

struct OverlayLook {
    bool taken = false; // both pictures were taken
    Image first, second;
    OverlayReading reading;
};
// Two pictures of the view a few frames apart, and the overlay they show.
OverlayLook look_at_overlay(GameSession* session);

// Waits until the view shows it: the side screen alone when one is over the game, otherwise
// the game view, its HUD and the overlay of the state (none while playing). *seen gets the
// picture that showed it.
testing::AssertionResult shows(GameSession* session, Shown shown, Image* seen = nullptr);
// Prints a transition as it is made, for the record of what the tests went through.
void note_transition(Shown from, const std::string& event, Shown to);
// Presses the key, notes the transition and checks that the view shows where it leads.
testing::AssertionResult step(GameSession* session, Shown from, const std::string& key, Shown to,
                              Image* seen = nullptr);

// Steps along the path: each key from where the one before led.
testing::AssertionResult walk(GameSession* session, Shown from,
                              const std::vector<std::pair<std::string, Shown>>& path);

// Waits until a picture of the game view holds a target high enough to be followed.
testing::AssertionResult wait_for_targets(GameSession* session, Image* seen);
struct Move {
    double dx = 0, dy = 0;
};
// For each target high enough to be followed in `before`, the nearest place below or beside it
// in `after` where a target shows at about the same x (targets fall straight down); none when
// no target is there.
std::vector<std::optional<Move>> target_moves(const Image& before, const Image& after);
// Two pictures half a second apart: the targets fall at their level-1 speed (ticks run), or
// stand still, the pixels of each exactly as they were where nothing else moves (they do not).
testing::AssertionResult targets_fall(GameSession* session);
testing::AssertionResult targets_stand_still(GameSession* session);
// The targets of `before` stand where they stood in `after`, give or take the few ticks between
// the pictures and the keys: for a picture taken right before a side screen opened and one
// taken right after it closed, with seconds in between.
testing::AssertionResult targets_stood_still(GameSession* session, const Image& before,
                                             const Image& after);

// The aim line shows where it runs for three pointer places (or shows at none of them); the
// pointer is put back afterwards.
testing::AssertionResult aim_line_shown(GameSession* session, bool expected);
// The cursor over the main view: shown or hidden, and held inside the view or free to leave
// it (a move of the pointer towards the screen's corner stops at the view's corner or not).
testing::AssertionResult cursor_is(GameSession* session, bool visible, bool confined);
