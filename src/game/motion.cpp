// Moving and tumbling, shared by targets, shots, particles and the aim line.
#include "game/motion.h"

#include "world/random.h"

namespace {

void turn(float* angle, int32_t step_count) {
    *angle += static_cast<float>(next_random() % step_count);
    if (*angle > 360.0f)
        *angle = 0.0f;
}

} // namespace

void move_by_velocity(Object3D* obj) {
    obj->position.x += obj->velocity.x;
    obj->position.y += obj->velocity.y;
    obj->position.z += obj->velocity.z;
}

void spin(Object3D* obj, int32_t step_count) {
    turn(&obj->angle_x, step_count);
    turn(&obj->angle_y, step_count);
    turn(&obj->angle_z, step_count);
}
