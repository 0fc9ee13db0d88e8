// Gameplay test helpers.
#include "tests/unit/gameplay_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <new>

#include "app/state.h"
#include "game/proximity.h"
#include "game/shots.h"

bool fail_nothrow_allocations = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (fail_nothrow_allocations)
        return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

Target* add_target(float x, float y, float z, float fall) {
    Target* target = append_record(&target_list);
    make_box(x, y, z, 0, 0, 0, 0, fall, 0, 5, 5, 5, &target->object);
    set_colour(&target->object, 255, 0, 0);
    target->reserved = 1;
    target->health = 1;
    ++live_targets;
    return target;
}

template <typename Record> int32_t checked_length(const RecordList<Record>& list) {
    EXPECT_EQ(list.first == nullptr, list.last == nullptr);
    int32_t length = 0;
    const Record* last_seen = nullptr;
    for (const Record* r = list.first; r != nullptr; r = r->next) {
        last_seen = r;
        if (++length > 100000) {
            ADD_FAILURE() << "the list loops";
            break;
        }
    }
    EXPECT_EQ(last_seen, list.last);
    return length;
}

template int32_t checked_length(const RecordList<Target>&);
template int32_t checked_length(const RecordList<Shot>&);
template int32_t checked_length(const RecordList<Particle>&);

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
        const Vec3 v = aimed_velocity(shot_speed, static_cast<float>(pitch), static_cast<float>(yaw));
        const int32_t n = v.z < -0.01f
                              ? static_cast<int32_t>(std::lround(target.object.position.z / v.z))
                              : 30;
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
