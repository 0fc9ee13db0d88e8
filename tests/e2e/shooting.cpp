// The shooting loop: picture, plan, point, fire, check.
#include "tests/e2e/shooting.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/e2e/aiming.h"
#include "tests/e2e/view_reading.h"

namespace {

using Clock = std::chrono::steady_clock;

// From the picture to the press: time to plan, point, and let the game draw a frame with the
// gun turned, since a shot leaves along the gun's angle of the last frame drawn. On a busy
// machine that takes longer; the delay then grows to what was seen, up to a limit.
constexpr Milliseconds first_planned_delay(250);
constexpr Milliseconds longest_planned_delay(800);
constexpr Milliseconds frame_wait(60);
// A press later than planned by more than this would miss: plan again instead.
constexpr Milliseconds lateness_allowed(100);
// A shot meets a level-1 target within about ten ticks.
constexpr Milliseconds hit_wait(700);
// Plans with less to spare than this are not worth a shot.
constexpr double min_margin = 3.0;
// Targets high in the view, where they are shot, cover about 100 pixels or more, stretched by
// their depth; a cluster of sparks from an earlier hit can reach 30.
constexpr int min_pixels_to_shoot = 60;

// A blob on or next to the aim line may be line cubes that turned red near a target.
bool near_aim_line(const Blob& blob, int mouse_x, int mouse_y) {
    for (const ViewPoint& p : aim_line_points(mouse_x, mouse_y))
        if (std::abs(p.x - blob.x) < 10 && std::abs(p.y - blob.y) < 10)
            return true;
    return false;
}

// The HUD's points as drawn: which pixels of their box are exactly yellow. Targets never reach
// that high, so the drawing changes only with the points.
std::vector<bool> points_drawing(const Image& view) {
    return colour_mask(view, hud_value_rect(0), hud_value_yellow);
}

struct Choice {
    AimPlan plan;
    Blob target;
};

// The target with the most room for error, of those in the picture.
std::optional<Choice> choose_target(const Image& view, int mouse_x, int mouse_y,
                                    Milliseconds planned_delay) {
    std::optional<Choice> best;
    for (const Blob& blob : find_red_blobs(view)) {
        if (blob.pixels < min_pixels_to_shoot || near_aim_line(blob, mouse_x, mouse_y))
            continue;
        const auto plan = plan_shot({blob.x, blob.y}, planned_delay.count() / 10.0);
        if (plan && plan->margin >= min_margin && (!best || plan->margin > best->plan.margin))
            best = Choice{*plan, blob};
    }
    return best;
}

} // namespace

bool shoot_targets(GameSession* session, int hits_wanted, Milliseconds limit,
                   ShootingRecord* record) {
    const auto deadline = Clock::now() + limit;
    Milliseconds planned_delay = first_planned_delay;
    char line[240];
    while (record->hits < hits_wanted && Clock::now() < deadline) {
        const auto seen_at = Clock::now();
        auto picture = view_picture(session);
        if (!picture)
            return false;
        const Milliseconds plan_delay = planned_delay;
        const auto choice = choose_target(*picture, session->mouse_x, session->mouse_y, plan_delay);
        if (!choice) {
            pause_for(Milliseconds(100));
            continue;
        }
        const std::vector<bool> points_before = points_drawing(*picture);
        point_at(session, choice->plan.mouse_x, choice->plan.mouse_y);
        pause_for(frame_wait);
        const auto ready = std::chrono::duration_cast<Milliseconds>(Clock::now() - seen_at);
        planned_delay = std::clamp(ready + Milliseconds(50), planned_delay, longest_planned_delay);
        const double t = std::chrono::duration<double>(seen_at - session->started).count();
        if (ready > plan_delay + lateness_allowed) {
            std::snprintf(line, sizeof line, "t=%.2fs too late to fire (%lld ms after the picture)",
                          t, static_cast<long long>(ready.count()));
            record->log += std::string(line) + "; planning again\n";
            continue;
        }
        std::this_thread::sleep_until(seen_at + plan_delay);
        const double late_ms =
            std::chrono::duration<double, std::milli>(Clock::now() - seen_at).count();
        fire(session);
        ++record->shots;
        const bool hit = poll_until(hit_wait, Milliseconds(40), [&] {
            auto after = view_picture(session);
            return after && points_drawing(*after) != points_before;
        });
        record->hits += hit ? 1 : 0;
        std::snprintf(line, sizeof line,
                      "t=%.2fs target seen at (%.1f,%.1f), %d px; pointer (%d,%d), margin %.1f, "
                      "fired %.0f ms after the picture: %s\n",
                      t, choice->target.x, choice->target.y, choice->target.pixels,
                      choice->plan.mouse_x, choice->plan.mouse_y, choice->plan.margin, late_ms,
                      hit ? "hit" : "miss");
        record->log += line;
    }
    return record->hits >= hits_wanted;
}
