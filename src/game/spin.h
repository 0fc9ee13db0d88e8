// Spinning an object by random steps.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"

// Adds next_random() % step_count to the angles about X, Y and Z in that order; an angle that
// passes 360 starts again from 0.
void spin(Object3D* obj, int32_t step_count);
