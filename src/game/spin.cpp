// Random tumbling, shared by targets, shots, particles and the aim line.
#include "game/spin.h"

#include "app/random.h"

namespace {

void turn(float* angle, int32_t step_count) {
    *angle += static_cast<float>(next_random() % step_count);
    if (*angle > 360.0f)
        *angle = 0.0f;
}

} // namespace

void spin(Object3D* obj, int32_t step_count) {
    turn(&obj->angle_x, step_count);
    turn(&obj->angle_y, step_count);
    turn(&obj->angle_z, step_count);
}
