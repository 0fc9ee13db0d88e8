// How the things in play move: along their velocity, and spinning by random steps.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"

// Adds the velocity to the position, axis by axis.
void move_by_velocity(Object3D* obj);

// Adds next_random() % step_count to the angles about X, Y and Z in that order; an angle that
// passes 360 starts again from 0.
void spin(Object3D* obj, int32_t step_count);
