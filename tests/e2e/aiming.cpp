// Shot flight and the search over pointer positions.
#include "tests/e2e/aiming.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

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

// Degrees to radians the way the game does it, with 3.14 for pi.
double radians(float degrees) {
    return static_cast<double>(degrees) * 3.14 * (1.0 / 180.0);
}

float pitch_of(int mouse_y) {
    return static_cast<float>((centre - mouse_y) * 0.4);
}
float yaw_of(int mouse_x) {
    return static_cast<float>((mouse_x - centre) * 0.4);
}

// How far inside reach the shot passes, over its whole flight; negative when it misses.
double best_slack(const WorldPoint& v, WorldPoint target, double fall_delay_ticks, int* best_tick) {
    float x = static_cast<float>(centre), y = static_cast<float>(centre), z = 0.0f;
    double best = -1e9;
    for (int tick = 1; tick <= shot_life_ticks; ++tick) {
        x += static_cast<float>(v.x);
        y += static_cast<float>(v.y);
        z += static_cast<float>(v.z);
        const double ty = target.y + fall_per_tick * (fall_delay_ticks + tick);
        // Inside reach on an axis when the difference is below 16 either way.
        const double slack =
            std::fmin(std::fmin(reach - std::abs(target.x - x), reach - std::abs(ty - y)),
                      reach - std::abs(target.z - z));
        if (slack > best) {
            best = slack;
            *best_tick = tick;
        }
    }
    return best;
}

// The worst slack over the timings the planner allows for.
double robust_slack(int mouse_x, int mouse_y, WorldPoint target, double delay_ticks,
                    int* best_tick) {
    const WorldPoint v = shot_velocity(mouse_x, mouse_y);
    double worst = 1e9;
    for (double delay :
         {delay_ticks - timing_slack_ticks, delay_ticks, delay_ticks + timing_slack_ticks}) {
        int tick = 0;
        const double slack = best_slack(v, target, delay, &tick);
        if (slack < worst)
            worst = slack;
        if (delay == delay_ticks)
            *best_tick = tick;
    }
    return worst;
}

} // namespace

ViewPoint project_to_view(WorldPoint p) {
    const double scale = eye_z / (eye_z - p.z);
    return {centre + (p.x - centre) * scale, centre + (p.y - centre) * scale};
}

WorldPoint level1_target_at(ViewPoint seen) {
    const double scale = (eye_z - target_depth) / eye_z;
    return {centre + (seen.x - centre) * scale, centre + (seen.y - centre) * scale, target_depth};
}

WorldPoint shot_velocity(int mouse_x, int mouse_y) {
    const double a = radians(pitch_of(mouse_y));
    const double b = radians(yaw_of(mouse_x));
    const double s = shot_speed;
    WorldPoint v;
    v.x = static_cast<float>(s * std::sin(b));
    v.y = static_cast<float>(-s * std::sin(a));
    // The depth speed follows the angle whose whole units of depth are fewer.
    const int32_t along_pitch = static_cast<int32_t>(s * std::cos(a));
    const int32_t along_yaw = static_cast<int32_t>(s * std::cos(b));
    v.z = static_cast<float>(std::abs(along_yaw) < std::abs(along_pitch) ? -s * std::cos(b)
                                                                         : -s * std::cos(a));
    return v;
}

std::vector<ViewPoint> aim_line_points(int mouse_x, int mouse_y) {
    const double a = radians(pitch_of(mouse_y));
    const double b = radians(yaw_of(mouse_x));
    const float dx = static_cast<float>(1.5 * std::sin(b));
    const float dy = static_cast<float>(-1.5 * std::sin(a));
    const double along_pitch = -1.5 * std::cos(a);
    const double along_yaw = -1.5 * std::cos(b);
    const bool use_yaw =
        std::abs(static_cast<int32_t>(along_yaw)) < std::abs(static_cast<int32_t>(along_pitch));
    const float dz = static_cast<float>(use_yaw ? along_yaw : along_pitch);
    std::vector<ViewPoint> points;
    for (int k = 0; k < 10; ++k) {
        const double s = 15.0 * k;
        points.push_back(project_to_view({centre + dx * s, centre + dy * s, dz * s}));
    }
    return points;
}

std::optional<AimPlan> plan_shot(ViewPoint seen, double delay_ticks) {
    const WorldPoint target = level1_target_at(seen);
    AimPlan best;
    best.margin = -1e9;
    auto consider = [&](int mx, int my) {
        int tick = 0;
        const double slack = robust_slack(mx, my, target, delay_ticks, &tick);
        if (slack > best.margin)
            best = {mx, my, slack, tick};
    };
    // The pointer stays within the view while playing; keep off its last rows and columns.
    constexpr int low = 1, high_x = 398, high_y = 397;
    for (int my = low; my <= high_y; my += 3)
        for (int mx = low; mx <= high_x; mx += 3)
            consider(mx, my);
    const AimPlan coarse = best;
    for (int my = coarse.mouse_y - 3; my <= coarse.mouse_y + 3; ++my)
        for (int mx = coarse.mouse_x - 3; mx <= coarse.mouse_x + 3; ++mx)
            if (mx >= low && mx <= high_x && my >= low && my <= high_y)
                consider(mx, my);
    if (best.margin <= 0.0)
        return std::nullopt;
    return best;
}
