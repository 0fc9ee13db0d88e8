// The steady player: aiming by simulating the shot against where the target will be.
#include "tests/support/steady_player.h"

#include <algorithm>
#include <cmath>

#include "app/state.h"
#include "game/proximity.h"
#include "game/shots.h"

const Target* lowest_target() {
    const Target* lowest = nullptr;
    for (const Target* t = target_list.first; t != nullptr; t = t->next)
        if (t->health > 0 &&
            (lowest == nullptr || t->object.position.y > lowest->object.position.y))
            lowest = t;
    return lowest;
}

namespace {

constexpr double degrees_per_radian = 180.0 / 3.14; // the game's own pi

// Where the target will be after n ticks, and whether a shot with velocity v meets it then.
Vec3 target_after(const Target& target, int32_t n) {
    const Vec3& p = target.object.position;
    const Vec3& v = target.object.velocity;
    return {p.x + v.x * static_cast<float>(n), p.y + v.y * static_cast<float>(n),
            p.z + v.z * static_cast<float>(n)};
}

bool shot_meets(const Target& target, const Vec3& origin, const Vec3& v) {
    Vec3 shot = origin;
    for (int32_t n = 1; n <= 45 && shot.z > -250.0f; ++n) {
        shot.x += v.x;
        shot.y += v.y;
        shot.z += v.z;
        if (within_reach(target_after(target, n), shot))
            return true;
    }
    return false;
}

} // namespace

bool aim_at(const Target& target) {
    const Vec3 origin{static_cast<float>(views[main_view].width / 2),
                      static_cast<float>(views[main_view].height / 2), 0.0f};
    // Point along the line to where the target will be when the shot gets there; a few rounds
    // settle how long that takes.
    double pitch = 0.0, yaw = 0.0;
    for (int round = 0; round < 6; ++round) {
        const Vec3 v =
            aimed_velocity(shot_speed, static_cast<float>(pitch), static_cast<float>(yaw));
        const int32_t n =
            v.z < -0.01f ? static_cast<int32_t>(std::lround(target.object.position.z / v.z)) : 30;
        const Vec3 goal = target_after(target, std::max(n, 1));
        const double dx = goal.x - origin.x, dy = goal.y - origin.y, dz = goal.z - origin.z;
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
        yaw = std::asin(dx / length) * degrees_per_radian;
        pitch = std::asin(-dy / length) * degrees_per_radian;
    }
    for (double dp : {0.0, -1.0, 1.0, -2.0, 2.0})
        for (double dyaw : {0.0, -1.0, 1.0, -2.0, 2.0}) {
            const float a = static_cast<float>(pitch + dp), b = static_cast<float>(yaw + dyaw);
            if (shot_meets(target, origin, aimed_velocity(shot_speed, a, b))) {
                gun_model.angle_x = a;
                gun_model.angle_y = b;
                return true;
            }
        }
    return false;
}
