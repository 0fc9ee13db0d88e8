// Firing and flying shots, and their hits on targets.
#include "game/shots.h"

#include <cmath>

#include "audio/sound.h"
#include "game/entities.h"
#include "game/motion.h"
#include "game/particles.h"
#include "game/proximity.h"
#include "game/scoring.h"
#include "geometry/sines.h"
#include "geometry/transform.h"
#include "platform/system.h"
#include "world/state.h"

namespace {

// How long firing waits at most for the gun sound to be reported playing.
constexpr int64_t gun_sound_wait_ms = 5;

void wait_until_playing(int32_t channel) {
    if (channel < 0)
        return;
    // A sound that never reports playing must not freeze the game.
    const int64_t give_up = perf_counter() + perf_frequency() * gun_sound_wait_ms / 1000;
    while (!sound_is_playing(channel) && perf_counter() < give_up) {
    }
}

} // namespace

Vec3 aimed_velocity(float speed, float pitch, float yaw) {
    const double a = radians(pitch);
    const double b = radians(yaw);
    const double s = speed;
    Vec3 v{};
    v.x = static_cast<float>(s * sine(b));
    v.y = static_cast<float>(-s * sine(a));
    const int32_t along_pitch = static_cast<int32_t>(s * cosine(a));
    const int32_t along_yaw = static_cast<int32_t>(s * cosine(b));
    if (std::abs(along_yaw) < std::abs(along_pitch))
        v.z = static_cast<float>(-s * cosine(b));
    else
        v.z = static_cast<float>(-s * cosine(a));
    return v;
}

void fire_shot() {
    // The game stands still under every side screen: a shot there would count unseen.
    if (game_over || paused || side_screen_shown())
        return;
    // No hand keeps this many in flight (a shot flies for some 40 ticks); a forged replay's
    // clicks beyond them fire nothing.
    int32_t in_flight = 0;
    for (const Shot* shot = shot_list.first; shot != nullptr; shot = shot->next)
        if (++in_flight >= most_shots_in_flight)
            return;
    Shot* shot = append_record(&shot_list);
    if (shot == nullptr) {
        message_box(";alksdjf", ";lsjf");
        return;
    }
    const int32_t channel = play_effect(gun_sound);
    count_shot();
    const float cx = static_cast<float>(views[main_view].width / 2);
    const float cy = static_cast<float>(views[main_view].height / 2);
    make_box(cx, cy, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -shot_speed, 3.0f, 3.0f, 3.0f,
             &shot->object);
    shot->object.velocity = aimed_velocity(shot_speed, gun_model.angle_x, gun_model.angle_y);
    set_colour(&shot->object, 300, 300, 300);
    wait_until_playing(channel);
}

void update_shots() {
    Shot* previous = nullptr;
    Shot* shot = shot_list.first;
    while (shot != nullptr) {
        Object3D& object = shot->object;
        move_by_velocity(&object);
        spin(&object, 15);
        for (Target* target = target_list.first; target != nullptr; target = target->next) {
            if (!within_reach(target->object.position, object.position))
                continue;
            target->health -= shot_damage;
            score_hit();
            object.position.z = -250.0f;
            explode(target->object.position.x, target->object.position.y, target->object.position.z,
                    10);
            break;
        }
        if (object.position.z > -250.0f) {
            previous = shot;
            shot = shot->next;
        } else {
            shot = remove_record(&shot_list, previous, shot);
        }
    }
}
