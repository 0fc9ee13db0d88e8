// Spawning, moving and retiring targets.
#include "game/targets.h"

#include "game/entities.h"
#include "game/motion.h"
#include "game/particles.h"
#include "game/scoring.h"
#include "platform/system.h"
#include "world/random.h"
#include "world/state.h"

namespace {

bool escaped(const Vec3& p) {
    return p.z >= 10.0f || p.x < static_cast<float>(field_rect.left) ||
           p.x > static_cast<float>(field_rect.right) || p.y < static_cast<float>(field_rect.top) ||
           p.y > static_cast<float>(field_rect.bottom);
}

} // namespace

void spawn_target() {
    const int32_t width = views[main_view].width;
    const int32_t depth_range = static_cast<int32_t>(spawn_depth_range);
    // The draws below divide by these; a view with no width has nowhere to put a target.
    if (width <= 0 || depth_range <= 0)
        return;
    Target* target = append_record(&target_list);
    if (target == nullptr) {
        message_box("woo", "w");
        return;
    }
    const float depth = spawn_depth_base - static_cast<float>(next_random() % depth_range);
    const float x = static_cast<float>(next_random() % width + 1);
    make_box(x, -140.0f, depth, 0.0f, 0.0f, 0.0f, 0.0f, fall_speed, 0.0f, 5.0f, 5.0f, 5.0f,
             &target->object);
    set_colour(&target->object, 255, 0, 0);
    target->health = 1;
    live_targets += 1;
}

void update_targets() {
    spawn_counter += 1;
    if (spawn_counter > spawn_interval) {
        spawn_counter -= spawn_interval;
        if (live_targets < max_targets)
            spawn_target();
    }

    Target* previous = nullptr;
    Target* target = target_list.first;
    while (target != nullptr) {
        Object3D& object = target->object;
        move_by_velocity(&object);
        spin(&object, 3);
        if (escaped(object.position)) {
            if (!game_over)
                end_game();
            game_over = 1;
            explode(object.position.x, object.position.y, object.position.z, 100);
            target->health = -1;
        }
        if (target->health <= 0) {
            live_targets -= 1;
            target = remove_record(&target_list, previous, target);
        } else {
            previous = target;
            target = target->next;
        }
    }
}
