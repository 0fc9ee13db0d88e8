// Turning, ordering, placing and projecting an object's faces.
#pragma once

#include "geometry/object3d.h"

// The eye's position and the z of the plane the scene is projected onto.
struct Eye {
    float x, y, z, plane;
};

// The light a view is shaded by: its position and k, the levels of colour lost per pixel of
// distance.
struct Light {
    float x, y, z, k;
};

// Degrees to radians, with 3.14 standing for pi as the game always has.
inline double radians(double degrees) {
    return degrees * 3.14 * (1.0 / 180.0);
}

void reset_world(Object3D* obj);
void sort_and_place(Object3D* obj);
// reset_world, the three turns by the object's angles (z, x, y), then sort_and_place.
void transform(Object3D* obj);
// Replaces every world corner by the point where the line from it to the eye meets the plane.
void project(Object3D* obj, const Eye& eye);
// transform then project, with a box's corners stored once.
void transform_and_project(Object3D* obj, const Eye& eye);
// Boxes are turned four points at a time where the processor can, unless this is given false;
// either way every figure is the same, as the tests check.
void allow_four_at_a_time(bool allowed);
