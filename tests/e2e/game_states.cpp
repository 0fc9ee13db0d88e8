// Reading the game's state from pictures, the pointer and the cursor.
#include "tests/e2e/game_states.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <vector>

#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"
#include "tests/e2e/x_client.h"

namespace {

const Milliseconds show_limit(3000);

// Targets are followed from above y 300, where no spark of an escape flies, to where they may
// have fallen by the next picture; and only the bigger red patches, since a cluster of sparks
// of an explosion can darken to pure red too, about 20 to 35 pixels big.
constexpr double followed_above_y = 300;
constexpr double found_above_y = 345;
constexpr int followed_pixels = 45;

// Level-1 targets fall 20 pixels a second; half a second apart they have fallen about 10.
constexpr Milliseconds watch_gap(500);
constexpr double least_fall = 4;
constexpr double most_fall = 40;
// Standing targets keep their place within this, the aim line's spinning cubes turning red
// next to one included.
constexpr double still_within = 2;
// A few ticks pass between the pictures and the keys that open and close a side screen.
constexpr double fall_around_keys = 12;

// Pointer places the aim line is looked for at, in view pixels.
constexpr int aim_places[3][2] = {{200, 150}, {120, 150}, {300, 250}};

using ScreenCheck = std::string (*)(const Image&);

ScreenCheck check_of(SideScreen screen) {
    switch (screen) {
    case SideScreen::help:
        return help_screen_problems;
    case SideScreen::hiscores:
        return hiscore_screen_problems;
    case SideScreen::about:
        return about_screen_problems;
    case SideScreen::none:
        break;
    }
    return game_view_problems;
}

const char* screen_name(SideScreen screen) {
    switch (screen) {
    case SideScreen::help:
        return "help screen";
    case SideScreen::hiscores:
        return "hi-score screen";
    case SideScreen::about:
        return "about screen";
    case SideScreen::none:
        break;
    }
    return "game view";
}

OverlayKind overlay_of(GameState state) {
    switch (state) {
    case GameState::playing:
        return OverlayKind::none;
    case GameState::paused:
        return OverlayKind::paused;
    case GameState::over:
        return OverlayKind::game_over;
    case GameState::naming:
        return OverlayKind::new_hiscore;
    }
    return OverlayKind::unknown;
}

// What a pair of pictures shows, in words, for a failure message.
std::string what_shows(const OverlayLook& look) {
    if (!look.taken)
        return "no picture";
    std::string seen;
    for (SideScreen screen : {SideScreen::help, SideScreen::hiscores, SideScreen::about})
        if (check_of(screen)(look.first).empty())
            seen += std::string(seen.empty() ? "" : " and ") + "the " + screen_name(screen);
    if (!seen.empty())
        return seen;
    const std::string view_problems = game_view_problems(look.first);
    return std::string("a game view ") + (hud_shown(look.first) ? "with" : "without") +
           " the HUD and with " + describe(look.reading) +
           (view_problems.empty() ? "" : "; as a game view:\n" + view_problems);
}

struct Move {
    double dx = 0, dy = 0;
};

std::vector<Blob> targets_above(const Image& view, double y, int least_pixels) {
    std::vector<Blob> blobs = find_red_blobs(view);
    std::erase_if(blobs, [&](const Blob& b) { return b.y >= y || b.pixels < least_pixels; });
    return blobs;
}

std::vector<Blob> followed_targets(const Image& view) {
    return targets_above(view, followed_above_y, followed_pixels);
}

// Everything red in the second picture counts, a target seen edge-on in it included.
std::vector<Blob> found_targets(const Image& view) {
    return targets_above(view, found_above_y, 0);
}

// For each target of the first picture, the nearest place below or beside it in the second
// where a target shows at about the same x (targets fall straight down); none when no target
// of the second is there.
std::vector<std::optional<Move>> moves_between(const std::vector<Blob>& first,
                                               const std::vector<Blob>& second) {
    std::vector<std::optional<Move>> moves;
    for (const Blob& a : first) {
        std::optional<Move> best;
        for (const Blob& b : second) {
            const Move m{b.x - a.x, b.y - a.y};
            if (std::abs(m.dx) > 4 || m.dy < -still_within || m.dy > most_fall)
                continue;
            if (!best || std::abs(m.dy) < std::abs(best->dy))
                best = m;
        }
        moves.push_back(best);
    }
    return moves;
}

std::string describe(const std::vector<Blob>& blobs) {
    std::ostringstream text;
    for (const Blob& blob : blobs)
        text << "(" << blob.x << "," << blob.y << ", " << blob.pixels << " px) ";
    return blobs.empty() ? "no targets " : text.str();
}

bool all_still(const std::vector<std::optional<Move>>& moves, double within) {
    return std::all_of(moves.begin(), moves.end(), [&](const std::optional<Move>& m) {
        return m && std::abs(m->dx) <= within && std::abs(m->dy) <= within;
    });
}

bool some_fell(const std::vector<std::optional<Move>>& moves) {
    return std::any_of(moves.begin(), moves.end(), [](const std::optional<Move>& m) {
        return m && m->dy >= least_fall && m->dy <= most_fall;
    });
}

struct TwoPictures {
    Image first, second;
    std::vector<Blob> first_targets, second_targets;
};

// The first picture is one with a target to follow, if one comes within a few seconds.
bool two_pictures(GameSession* session, TwoPictures* pictures) {
    std::optional<Image> first;
    poll_until(Milliseconds(5000), Milliseconds(40), [&] {
        first = view_picture(session);
        return first && !followed_targets(*first).empty();
    });
    pause_for(watch_gap);
    auto second = view_picture(session);
    if (!first || !second)
        return false;
    pictures->first = std::move(*first);
    pictures->second = std::move(*second);
    pictures->first_targets = followed_targets(pictures->first);
    pictures->second_targets = found_targets(pictures->second);
    return true;
}

} // namespace

std::string name_of(Shown shown) {
    std::string name;
    switch (shown.state) {
    case GameState::playing:
        name = "playing";
        break;
    case GameState::paused:
        name = "paused";
        break;
    case GameState::over:
        name = "over";
        break;
    case GameState::naming:
        name = "over and naming";
        break;
    }
    if (shown.screen != SideScreen::none)
        name += std::string(" under the ") + screen_name(shown.screen);
    return name;
}

const char* key_of(SideScreen screen) {
    switch (screen) {
    case SideScreen::help:
        return "F1";
    case SideScreen::hiscores:
        return "F5";
    case SideScreen::about:
        return "F7";
    case SideScreen::none:
        break;
    }
    return "";
}

testing::AssertionResult shows(GameSession* session, Shown shown, Image* seen) {
    OverlayLook look;
    const ScreenCheck check = check_of(shown.screen);
    const OverlayKind overlay = overlay_of(shown.state);
    auto matches = [&] {
        if (!look.taken || !check(look.first).empty())
            return false;
        if (shown.screen != SideScreen::none)
            return true;
        return overlay_kind(look.reading) == overlay;
    };
    const bool found = poll_until(show_limit, Milliseconds(40), [&] {
        look = look_at_overlay(session);
        return matches();
    });
    if (!found)
        return testing::AssertionFailure()
               << "expected the view to show " << name_of(shown) << " but it shows "
               << what_shows(look) << "\nsee "
               << (look.taken ? keep_picture(session, look.first, "not_" + name_of(shown))
                              : std::string("(no picture)"));
    // Each screen has colours of its own: one picture is never two screens.
    for (SideScreen other :
         {SideScreen::help, SideScreen::hiscores, SideScreen::about, SideScreen::none})
        if (other != shown.screen && check_of(other)(look.first).empty())
            return testing::AssertionFailure()
                   << "the view passes as both the " << screen_name(shown.screen) << " and the "
                   << screen_name(other) << "; see " << keep_picture(session, look.first, "both");
    if (seen != nullptr)
        *seen = std::move(look.first);
    return testing::AssertionSuccess();
}

void note_transition(Shown from, const std::string& event, Shown to) {
    std::cout << "[ transition ] " << name_of(from) << " --" << event << "--> " << name_of(to)
              << std::endl;
}

testing::AssertionResult step(GameSession* session, Shown from, const std::string& key, Shown to,
                              Image* seen) {
    note_transition(from, key, to);
    if (!press(session, key))
        return testing::AssertionFailure() << "xdotool could not press " << key;
    testing::AssertionResult result = shows(session, to, seen);
    if (!result)
        return testing::AssertionFailure()
               << "after " << key << " from " << name_of(from) << ": " << result.message();
    return result;
}

testing::AssertionResult wait_for_targets(GameSession* session, Image* seen) {
    // Targets come every two seconds, the first two seconds after a game starts.
    if (wait_for_picture(session, Milliseconds(5000), seen,
                         [](const Image& v) { return !followed_targets(v).empty(); }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "no target showed above y " << followed_above_y << " within 5 s; see "
           << keep_picture(session, *seen, "no_targets");
}

testing::AssertionResult targets_fall(GameSession* session) {
    TwoPictures pictures;
    if (!two_pictures(session, &pictures))
        return testing::AssertionFailure() << "no pictures";
    const auto moves = moves_between(pictures.first_targets, pictures.second_targets);
    if (some_fell(moves))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the targets did not fall in " << watch_gap.count()
                                       << " ms: " << describe(pictures.first_targets) << "then "
                                       << describe(pictures.second_targets) << "; see "
                                       << keep_picture(session, pictures.first, "fall_1") << " and "
                                       << keep_picture(session, pictures.second, "fall_2");
}

testing::AssertionResult targets_stand_still(GameSession* session) {
    TwoPictures pictures;
    if (!two_pictures(session, &pictures))
        return testing::AssertionFailure() << "no pictures";
    const auto moves = moves_between(pictures.first_targets, pictures.second_targets);
    if (!pictures.first_targets.empty() && all_still(moves, still_within))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "the targets did not stand still for " << watch_gap.count()
           << " ms: " << describe(pictures.first_targets) << "then "
           << describe(pictures.second_targets) << "; see "
           << keep_picture(session, pictures.first, "still_1") << " and "
           << keep_picture(session, pictures.second, "still_2");
}

testing::AssertionResult targets_stood_still(GameSession* session, const Image& before,
                                             const Image& after) {
    const std::vector<Blob> first = followed_targets(before);
    const std::vector<Blob> second = found_targets(after);
    const auto moves = moves_between(first, second);
    const bool kept_places =
        std::all_of(moves.begin(), moves.end(), [](const std::optional<Move>& m) {
            return m && std::abs(m->dx) <= still_within && m->dy >= -still_within &&
                   m->dy <= fall_around_keys;
        });
    if (!first.empty() && kept_places)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "the targets moved while the side screen was up: " << describe(first) << "then "
           << describe(second) << "; see " << keep_picture(session, before, "before_screen")
           << " and " << keep_picture(session, after, "after_screen");
}

testing::AssertionResult aim_line_shown(GameSession* session, bool expected) {
    const int was_x = session->mouse_x, was_y = session->mouse_y;
    std::string counts;
    bool as_expected = true;
    Image wrong;
    for (const auto& [x, y] : aim_places) {
        point_at(session, x, y);
        pause_for(Milliseconds(100));
        auto view = view_picture(session);
        if (!view)
            return testing::AssertionFailure() << "no picture";
        const int count = count_aim_line(*view, aim_line_region(x, y));
        counts += " (" + std::to_string(x) + "," + std::to_string(y) +
                  "): " + std::to_string(count) + " px;";
        const bool shown = count >= 20;
        if (shown != expected && as_expected) {
            as_expected = false;
            wrong = std::move(*view);
        }
    }
    point_at(session, was_x, was_y);
    if (as_expected)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "expected the aim line " << (expected ? "shown" : "gone")
           << "; aim-line green where it would run, by pointer place:" << counts << " see "
           << keep_picture(session, wrong, expected ? "no_aim_line" : "aim_line");
}

testing::AssertionResult cursor_is(GameSession* session, bool visible, bool confined) {
    const std::string& display = session->x.display;
    const int was_x = session->mouse_x, was_y = session->mouse_y;
    point_at(session, was_x, was_y);
    pause_for(Milliseconds(50));
    const std::optional<bool> shown = cursor_visible(display);
    // From the middle of the view, a move far past the screen's top left corner.
    point_at(session, view_width / 2, view_height / 2);
    pause_for(Milliseconds(50));
    move_pointer_by(display, -screen_width, -screen_height);
    pause_for(Milliseconds(50));
    const auto reached = pointer_position(display);
    point_at(session, was_x, was_y);
    if (!shown || !reached)
        return testing::AssertionFailure() << "cannot read the cursor or the pointer";
    const bool held =
        reached->first == session->main_place.x && reached->second == session->main_place.y;
    const bool free = reached->first == 0 && reached->second == 0;
    if (*shown == visible && (confined ? held : free))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "expected the cursor " << (visible ? "shown" : "hidden") << " and "
           << (confined ? "held in the view" : "free") << "; it is "
           << (*shown ? "shown" : "hidden") << ", and a move towards the screen's corner from the "
           << "view's middle ended at (" << reached->first << "," << reached->second
           << ") (the view's corner is (" << session->main_place.x << "," << session->main_place.y
           << "))";
}
