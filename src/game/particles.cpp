// Explosions and the particles they throw out.
#include "game/particles.h"

#include "audio/sound.h"
#include "game/motion.h"
#include "world/random.h"

namespace {

constexpr float one_sixtieth = 1.0f / 60.0f;

float random_speed(int32_t n) {
    return static_cast<float>(next_random() % n) * one_sixtieth;
}

} // namespace

Particle* spawn_particle(float x, float y, float z, float vx, float vy, float vz, int32_t hx,
                         int32_t hy, int32_t hz, int32_t red, int32_t green, int32_t blue,
                         int32_t life) {
    Particle* particle = append_record(&particle_list);
    if (particle == nullptr)
        return nullptr;
    make_box(x, y, z, 0.0f, 0.0f, 0.0f, vx, vy, vz, static_cast<float>(hx), static_cast<float>(hy),
             static_cast<float>(hz), &particle->object);
    set_colour(&particle->object, red, green, blue);
    particle->life = life;
    return particle;
}

void explode(float x, float y, float z, int32_t n) {
    play_effect(explode_sound);
    for (int32_t i = 0; i < n; ++i) {
        int32_t colour[3]; // red, green, blue
        const int32_t full = next_random() % 3;
        colour[full] = 255;
        for (int32_t c = 2; c >= 0; --c)
            if (c != full)
                colour[c] = next_random() % 256;
        const float vz = random_speed(n);
        const float vy = random_speed(n);
        const float vx = random_speed(n);
        const int32_t hz = next_random() % 3 + 1;
        const int32_t hy = next_random() % 3 + 1;
        const int32_t hx = next_random() % 3 + 1;
        Particle* particle =
            spawn_particle(x, y, z, vx, vy, vz, hx, hy, hz, colour[0], colour[1], colour[2], 255);
        // The sign draws happen whether or not the particle could be made, so that an explosion
        // always takes the same values from the generator.
        float* velocity[3] = {nullptr, nullptr, nullptr};
        if (particle != nullptr) {
            velocity[0] = &particle->object.velocity.x;
            velocity[1] = &particle->object.velocity.y;
            velocity[2] = &particle->object.velocity.z;
        }
        for (float* v : velocity)
            if (next_random() % 2 == 0 && v != nullptr)
                *v *= -1.0f;
        if (particle != nullptr) {
            particle->object.red += 100;
            particle->object.green += 100;
            particle->object.blue += 100;
        }
    }
}

void update_particles() {
    Particle* previous = nullptr;
    Particle* particle = particle_list.first;
    while (particle != nullptr) {
        Object3D& object = particle->object;
        particle->life -= 1;
        if (particle->life < 0 || object.position.z > 0.0f) {
            particle = remove_record(&particle_list, previous, particle);
            continue;
        }
        move_by_velocity(&object);
        object.position.y += particle_drift;
        spin(&object, 4);
        object.red -= 1;
        object.green -= 1;
        object.blue -= 1;
        previous = particle;
        particle = particle->next;
    }
}
