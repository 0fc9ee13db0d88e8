// Explosions: a sound and a burst of small coloured boxes that drift, fade and vanish.
#pragma once

#include <cstdint>

#include "game/entities.h"

void explode(float x, float y, float z, int32_t n);
Particle* spawn_particle(float x, float y, float z, float vx, float vy, float vz, int32_t hx,
                         int32_t hy, int32_t hz, int32_t red, int32_t green, int32_t blue,
                         int32_t life);
void update_particles();
