// Shot flight and the search over pointer positions. In the game's world x runs right, y down
// and z towards the player; the view's eye is at (200, 200, 50) looking at the plane z = 0.
#include "tests/e2e/aiming.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

struct WorldPoint {
    double x = 0, y = 0, z = 0;
};

constexpr double centre = 200.0;
constexpr double eye_z = 50.0;
constexpr float shot_speed = 6.5f;
constexpr double fall_per_tick = 0.4; // level 1
constexpr double target_depth = -50.0;
constexpr int shot_life_ticks = 40;
// A shot meets a target when each difference, truncated, is within -15..15.
constexpr double reach = 16.0;
// The planner allows for this much error in the assumed delay, either way.
constexpr double timing_slack_ticks = 12.0;

// Degrees to radians the way the game does it, with 3.14 for pi, for the gun's pitch and yaw
// (0.4 degree per pixel from the view's centre).
double pitch_of(int mouse_y) {
    return static_cast<float>((centre - mouse_y) * 0.4) * 3.14 * (1.0 / 180.0);
}
double yaw_of(int mouse_x) {
    return static_cast<float>((mouse_x - centre) * 0.4) * 3.14 * (1.0 / 180.0);
}

// A step of `length` along the gun's direction; the depth follows the angle whose whole units
// of depth are fewer.
WorldPoint along_gun(int mouse_x, int mouse_y, double length) {
    const double a = pitch_of(mouse_y), b = yaw_of(mouse_x);
    const double along_pitch = -length * std::cos(a), along_yaw = -length * std::cos(b);
    const bool use_yaw =
        std::abs(static_cast<int32_t>(along_yaw)) < std::abs(static_cast<int32_t>(along_pitch));
    return {static_cast<float>(length * std::sin(b)), static_cast<float>(-length * std::sin(a)),
            static_cast<float>(use_yaw ? along_yaw : along_pitch)};
}

ViewPoint project_to_view(WorldPoint p) {
    const double scale = eye_z / (eye_z - p.z);
    return {centre + (p.x - centre) * scale, centre + (p.y - centre) * scale};
}

// How far inside reach the shot passes, over its whole flight; negative when it misses.
double best_slack(const WorldPoint& v, WorldPoint target, double fall_delay_ticks) {
    float x = static_cast<float>(centre), y = static_cast<float>(centre), z = 0.0f;
    double best = -1e9;
    for (int tick = 1; tick <= shot_life_ticks; ++tick) {
        x += static_cast<float>(v.x);
        y += static_cast<float>(v.y);
        z += static_cast<float>(v.z);
        const double ty = target.y + fall_per_tick * (fall_delay_ticks + tick);
        best = std::max(best, std::min({reach - std::abs(target.x - x), reach - std::abs(ty - y),
                                        reach - std::abs(target.z - z)}));
    }
    return best;
}

// The worst slack over the timings the planner allows for.
double robust_slack(int mouse_x, int mouse_y, WorldPoint target, double delay_ticks) {
    const WorldPoint v = along_gun(mouse_x, mouse_y, shot_speed);
    double worst = 1e9;
    for (double delay : {-timing_slack_ticks, 0.0, timing_slack_ticks})
        worst = std::min(worst, best_slack(v, target, delay_ticks + delay));
    return worst;
}

} // namespace

std::vector<ViewPoint> aim_line_points(int mouse_x, int mouse_y) {
    const WorldPoint d = along_gun(mouse_x, mouse_y, 1.5);
    std::vector<ViewPoint> points;
    for (int k = 0; k < 10; ++k) {
        const double s = 15.0 * k;
        points.push_back(project_to_view({centre + d.x * s, centre + d.y * s, d.z * s}));
    }
    return points;
}

std::optional<AimPlan> plan_shot(ViewPoint seen, double delay_ticks) {
    // A level-1 target lies at depth -50: its place in the world from where it shows.
    const double scale = (eye_z - target_depth) / eye_z;
    const WorldPoint target{centre + (seen.x - centre) * scale, centre + (seen.y - centre) * scale,
                            target_depth};
    AimPlan best{0, 0, -1e9};
    auto consider = [&](int mx, int my) {
        const double slack = robust_slack(mx, my, target, delay_ticks);
        if (slack > best.margin)
            best = {mx, my, slack};
    };
    // The pointer stays within the view while playing; keep off its last rows and columns.
    constexpr int low = 1, high_x = 398, high_y = 397;
    for (int my = low; my <= high_y; my += 3)
        for (int mx = low; mx <= high_x; mx += 3)
            consider(mx, my);
    const AimPlan coarse = best;
    for (int my = std::max(coarse.mouse_y - 3, low); my <= std::min(coarse.mouse_y + 3, high_y);
         ++my)
        for (int mx = std::max(coarse.mouse_x - 3, low); mx <= std::min(coarse.mouse_x + 3, high_x);
             ++mx)
            consider(mx, my);
    if (best.margin <= 0.0)
        return std::nullopt;
    return best;
}
