// Distance shading: a face loses colour with its distance from the view's light point.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"
#include "geometry/transform.h"
#include "platform/canvas.h"

// The shaded colour of an object's base colour at the world point centre.
Colour shade(const Object3D& obj, const Vec3& centre, const Light& light);
// colours[n] = shade(obj, world centre of face faces[n], light) for n below count.
void shade_faces(const Object3D& obj, const Light& light, const int32_t* faces, int32_t count,
                 Colour* colours);
// colours[i] = shade(obj, world centre of face i, light) for the six faces of a box.
void shade_box(const Object3D& obj, const Light& light, Colour colours[6]);
