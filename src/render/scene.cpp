// Scene passes over the floor, the aim line and the entity lists.
#include "render/scene.h"

#include "game/entities.h"
#include "game/motion.h"
#include "game/proximity.h"
#include "game/shots.h"
#include "render/fill_object.h"
#include "world/state.h"

namespace {

void prepare(Object3D* obj) {
    transform_and_project(obj, views[main_view].eye);
}

void paint(const Object3D& obj) {
    const View& view = views[main_view];
    fill_object(view.back_dc, nullptr, obj, &view.light);
}

template <typename Record> void prepare_list(const RecordList<Record>& list) {
    for (Record* record = list.first; record != nullptr; record = record->next)
        prepare(&record->object);
}

template <typename Record> void paint_list(const RecordList<Record>& list) {
    for (const Record* record = list.first; record != nullptr; record = record->next)
        paint(record->object);
}

// The line's origin is the centre of the view at its nominal 400 x 400.
constexpr float aim_origin = 200.0f;

} // namespace

void update_aim_line() {
    // The line runs the way a shot flies, its cubes a step of 1.5 apart along it.
    const Vec3 step = aimed_velocity(1.5f, gun_model.angle_x, gun_model.angle_y);

    for (int32_t k = 0; k < aim_cube_count; ++k) {
        Object3D& cube = aim_cubes[k];
        set_colour(&cube, 0, 255, 0);
        for (const Target* target = target_list.first; target != nullptr; target = target->next)
            if (within_reach(target->object.position, cube.position))
                set_colour(&cube, 255, 0, 0);
        spin(&cube, 5);
        const float s = static_cast<float>(k) * aim_spacing;
        set_vec3(&cube.position, aim_origin + step.x * s, aim_origin + step.y * s, step.z * s);
        prepare(&cube);
    }
}

void prepare_targets() {
    prepare_list(target_list);
}
void prepare_shots() {
    prepare_list(shot_list);
}
void prepare_particles() {
    prepare_list(particle_list);
}

void draw_aim_line() {
    for (int32_t k = aim_cube_count - 1; k >= 0; --k)
        paint(aim_cubes[k]);
}

void draw_targets() {
    paint_list(target_list);
}
void draw_shots() {
    paint_list(shot_list);
}
void draw_particles() {
    paint_list(particle_list);
}
