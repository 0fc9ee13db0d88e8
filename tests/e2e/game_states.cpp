// Reading the game's state from pictures, the pointer and the cursor.
#include "tests/e2e/game_states.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/x_client.h"

namespace {

using testing::AssertionFailure;
using testing::AssertionResult;
using testing::AssertionSuccess;
using Clock = std::chrono::steady_clock;

// Indexed by SideScreen and GameState.
using ScreenCheck = std::string (*)(const Image&);
constexpr ScreenCheck screen_checks[] = {game_view_problems, help_screen_problems,
                                         hiscore_screen_problems, about_screen_problems};
constexpr const char* screen_names[] = {"game view", "help screen", "hi-score screen",
                                        "about screen"};
constexpr const char* screen_keys[] = {"", "F1", "F5", "F7"};
constexpr const char* state_names[] = {"playing", "paused", "over", "over and naming"};
constexpr OverlayKind state_overlays[] = {OverlayKind::none, OverlayKind::paused,
                                          OverlayKind::game_over, OverlayKind::new_hiscore};

// Targets are followed from above y 300, where no spark of an escape flies, to where they may
// have fallen by the next picture; and only the bigger red patches, since a cluster of sparks
// of an explosion can darken to pure red too, about 20 to 35 pixels big.
constexpr double followed_above_y = 300;
constexpr double found_above_y = 345;
constexpr int followed_pixels = 45;

// Level-1 targets fall 20 pixels a second, give or take a few pixels for their tumble.
constexpr Milliseconds watch_gap(500);
constexpr double fall_speed = 20;
constexpr double fall_slack = 4;
constexpr double most_fall = 40;
// Standing targets keep their place within this, the aim line's spinning cubes turning red
// next to one included.
constexpr double still_within = 2;
// A few ticks pass between the pictures and the keys that open and close a side screen.
constexpr double fall_around_keys = 12;

// Pointer places the aim line is looked for at, in view pixels.
constexpr int aim_places[3][2] = {{200, 150}, {120, 150}, {300, 250}};

std::vector<Blob> targets_above(const Image& view, double y, int least_pixels) {
    std::vector<Blob> blobs = find_red_blobs(view);
    std::erase_if(blobs, [&](const Blob& b) { return b.y >= y || b.pixels < least_pixels; });
    return blobs;
}

std::vector<Blob> followed_targets(const Image& view) {
    return targets_above(view, followed_above_y, followed_pixels);
}

std::string describe_targets(const Image& before, const Image& after) {
    std::ostringstream text;
    for (const Image* view : {&before, &after}) {
        // Everything red in the second picture counts, a target seen edge-on in it included.
        const auto blobs =
            view == &before ? followed_targets(before) : targets_above(after, found_above_y, 0);
        text << (view == &before ? "" : " then ");
        for (const Blob& blob : blobs)
            text << "(" << blob.x << "," << blob.y << ", " << blob.pixels << " px) ";
        text << (blobs.empty() ? "no targets" : "");
    }
    return text.str();
}

// What a pair of pictures shows, in words, for a failure message.
std::string what_shows(const OverlayLook& look) {
    if (!look.taken)
        return "no picture";
    std::string seen;
    for (int screen = 1; screen < 4; ++screen)
        if (screen_checks[screen](look.first).empty())
            seen += std::string(seen.empty() ? "the " : " and the ") + screen_names[screen];
    if (!seen.empty())
        return seen;
    const std::string view_problems = game_view_problems(look.first);
    return std::string("a game view ") + (hud_shown(look.first) ? "with" : "without") +
           " the HUD and with " + describe(look.reading) +
           (view_problems.empty() ? "" : "; as a game view:\n" + view_problems);
}

struct TwoPictures {
    Image first, second;
    double least_s = 0, most_s = 0; // the least and the most time between the two
};

// The first picture is one with a target to follow, if one comes within a few seconds.
bool two_pictures(GameSession* session, TwoPictures* pictures) {
    std::optional<Image> first, second;
    Clock::time_point asked, got;
    poll_until(Milliseconds(5000), Milliseconds(40), [&] {
        asked = Clock::now();
        first = view_picture(session);
        got = Clock::now();
        return first && !followed_targets(*first).empty();
    });
    pause_for(watch_gap);
    const auto asked_again = Clock::now();
    second = view_picture(session);
    if (!first || !second)
        return false;
    pictures->first = std::move(*first);
    pictures->second = std::move(*second);
    pictures->least_s = std::chrono::duration<double>(asked_again - got).count();
    pictures->most_s = std::chrono::duration<double>(Clock::now() - asked).count();
    return true;
}

AssertionResult targets_failure(GameSession* session, const std::string& what, const Image& before,
                                const Image& after) {
    return AssertionFailure() << what << ": " << describe_targets(before, after) << "; see "
                              << keep_picture(session, before, "targets_1") << " and "
                              << keep_picture(session, after, "targets_2");
}

} // namespace

std::string name_of(Shown shown) {
    return state_names[static_cast<int>(shown.state)] +
           (shown.screen == SideScreen::none
                ? std::string()
                : std::string(" under the ") + screen_names[static_cast<int>(shown.screen)]);
}

const char* key_of(SideScreen screen) {
    return screen_keys[static_cast<int>(screen)];
}

OverlayLook look_at_overlay(GameSession* session) {
    OverlayLook look;
    auto first = view_picture(session);
    // The text changes colour with every frame; a few milliseconds apart are enough.
    pause_for(Milliseconds(30));
    auto second = view_picture(session);
    if (!first || !second)
        return look;
    look = {true, std::move(*first), std::move(*second), {}};
    look.reading = read_overlay(look.first, look.second);
    return look;
}

AssertionResult shows(GameSession* session, Shown shown, Image* seen) {
    OverlayLook look;
    const int screen = static_cast<int>(shown.screen);
    const bool found = poll_until(Milliseconds(3000), Milliseconds(40), [&] {
        look = look_at_overlay(session);
        return look.taken && screen_checks[screen](look.first).empty() &&
               (shown.screen != SideScreen::none ||
                overlay_kind(look.reading) == state_overlays[static_cast<int>(shown.state)]);
    });
    if (!found)
        return AssertionFailure() << "expected the view to show " << name_of(shown)
                                  << " but it shows " << what_shows(look) << "\nsee "
                                  << keep_picture(session, look.first, "not_" + name_of(shown));
    // Each screen has colours of its own: one picture is never two screens.
    for (int other = 0; other < 4; ++other)
        if (other != screen && screen_checks[other](look.first).empty())
            return AssertionFailure()
                   << "the view passes as both the " << screen_names[screen] << " and the "
                   << screen_names[other] << "; see " << keep_picture(session, look.first, "both");
    if (seen != nullptr)
        *seen = std::move(look.first);
    return AssertionSuccess();
}

void note_transition(Shown from, const std::string& event, Shown to) {
    std::cout << "[ transition ] " << name_of(from) << " --" << event << "--> " << name_of(to)
              << std::endl;
}

AssertionResult step(GameSession* session, Shown from, const std::string& key, Shown to,
                     Image* seen) {
    note_transition(from, key, to);
    if (!press(session, key))
        return AssertionFailure() << "xdotool could not press " << key;
    AssertionResult result = shows(session, to, seen);
    if (!result)
        return AssertionFailure() << "after " << key << " from " << name_of(from) << ": "
                                  << result.message();
    return result;
}

AssertionResult walk(GameSession* session, Shown from,
                     const std::vector<std::pair<std::string, Shown>>& path) {
    for (const auto& [key, to] : path) {
        if (AssertionResult result = step(session, from, key, to); !result)
            return result;
        from = to;
    }
    return AssertionSuccess();
}

AssertionResult wait_for_targets(GameSession* session, Image* seen) {
    // Targets come every two seconds, the first two seconds after a game starts.
    if (wait_for_picture(session, Milliseconds(5000), seen,
                         [](const Image& v) { return !followed_targets(v).empty(); }))
        return AssertionSuccess();
    return AssertionFailure() << "no target showed above y " << followed_above_y
                              << " within 5 s; see " << keep_picture(session, *seen, "no_targets");
}

std::vector<std::optional<Move>> target_moves(const Image& before, const Image& after) {
    const std::vector<Blob> second = targets_above(after, found_above_y, 0);
    std::vector<std::optional<Move>> moves;
    for (const Blob& a : followed_targets(before)) {
        std::optional<Move> best;
        for (const Blob& b : second) {
            const Move m{b.x - a.x, b.y - a.y};
            if (std::abs(m.dx) <= 4 && m.dy >= -still_within && m.dy <= most_fall &&
                (!best || std::abs(m.dy) < std::abs(best->dy)))
                best = m;
        }
        moves.push_back(best);
    }
    return moves;
}

AssertionResult targets_fall(GameSession* session) {
    TwoPictures p;
    if (!two_pictures(session, &p))
        return AssertionFailure() << "no pictures";
    const double least = fall_speed * p.least_s - fall_slack;
    const double most = fall_speed * p.most_s + fall_slack;
    for (const auto& m : target_moves(p.first, p.second))
        if (m && m->dy >= std::max(least, 1.0) && m->dy <= most)
            return AssertionSuccess();
    std::ostringstream what;
    what << "no target fell by " << least << " to " << most << " px in the " << p.least_s << " to "
         << p.most_s << " s between the pictures";
    return targets_failure(session, what.str(), p.first, p.second);
}

AssertionResult targets_stand_still(GameSession* session) {
    TwoPictures p;
    if (!two_pictures(session, &p))
        return AssertionFailure() << "no pictures";
    const auto moves = target_moves(p.first, p.second);
    const bool kept_places = !moves.empty() && std::all_of(moves.begin(), moves.end(), [](auto m) {
        return m && std::abs(m->dx) <= still_within && std::abs(m->dy) <= still_within;
    });
    // The overlay's text and the aim line's spinning cubes change with every frame; nothing
    // else may.
    const Rect aim = aim_line_region(session->mouse_x, session->mouse_y);
    int changed = 0;
    for (const Blob& b : followed_targets(p.first)) {
        const Rect box{b.box.left - 2, b.box.top - 2, b.box.right + 2, b.box.bottom + 2};
        if (!overlap(box, overlay_band) && !overlap(box, aim))
            changed += count_differences(p.first, p.second, box);
    }
    if (kept_places && changed == 0)
        return AssertionSuccess();
    return targets_failure(session,
                           "the targets did not stand still for " +
                               std::to_string(watch_gap.count()) + " ms (" +
                               std::to_string(changed) + " pixels of them changed)",
                           p.first, p.second);
}

AssertionResult targets_stood_still(GameSession* session, const Image& before, const Image& after) {
    const auto moves = target_moves(before, after);
    if (!moves.empty() && std::all_of(moves.begin(), moves.end(), [](auto m) {
            return m && std::abs(m->dx) <= still_within && m->dy <= fall_around_keys;
        }))
        return AssertionSuccess();
    return targets_failure(session, "the targets moved while the side screen was up", before,
                           after);
}

AssertionResult aim_line_shown(GameSession* session, bool expected) {
    const int was_x = session->mouse_x, was_y = session->mouse_y;
    std::string counts;
    std::optional<Image> wrong;
    for (const auto& [x, y] : aim_places) {
        point_at(session, x, y);
        pause_for(Milliseconds(100));
        auto view = view_picture(session);
        if (!view)
            return AssertionFailure() << "no picture";
        const int count = count_aim_line(*view, aim_line_region(x, y));
        counts += " (" + std::to_string(x) + "," + std::to_string(y) +
                  "): " + std::to_string(count) + " px;";
        if ((count >= 20) != expected && !wrong)
            wrong = std::move(*view);
    }
    point_at(session, was_x, was_y);
    if (!wrong)
        return AssertionSuccess();
    return AssertionFailure() << "expected the aim line " << (expected ? "shown" : "gone")
                              << "; aim-line green where it would run, by pointer place:" << counts
                              << " see "
                              << keep_picture(session, *wrong,
                                              expected ? "no_aim_line" : "aim_line");
}

AssertionResult cursor_is(GameSession* session, bool visible, bool confined) {
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
        return AssertionFailure() << "cannot read the cursor or the pointer";
    const auto corner =
        confined ? std::pair{session->main_place.x, session->main_place.y} : std::pair{0, 0};
    if (*shown == visible && *reached == corner)
        return AssertionSuccess();
    return AssertionFailure() << "expected the cursor " << (visible ? "shown" : "hidden") << " and "
                              << (confined ? "held in the view" : "free") << "; it is "
                              << (*shown ? "shown" : "hidden")
                              << ", and a move towards the screen's corner from the view's middle "
                                 "ended at ("
                              << reached->first << "," << reached->second
                              << ") (the view's corner is (" << session->main_place.x << ","
                              << session->main_place.y << "))";
}
