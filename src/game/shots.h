// The gun's shots: fired along the aim, they fly until they hit a target or pass depth -250.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"

// The most shots in flight at once: a click beyond them fires nothing.
constexpr int32_t most_shots_in_flight = 256;

// The aimed velocity of a shot of the given speed, for the gun's pitch and yaw in degrees: the
// way shots fly and the aim line runs.
Vec3 aimed_velocity(float speed, float pitch, float yaw);

void fire_shot();
void update_shots();
