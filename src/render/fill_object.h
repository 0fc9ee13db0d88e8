// Painting a projected object face by face, farthest face first.
#pragma once

#include "geometry/object3d.h"
#include "platform/canvas.h"
#include "render/polygon_fill.h"
#include "render/shading.h"

// The brush that erases.
inline constexpr Colour black_brush = rgb(0, 0, 0);

// Paints each face with *brush, or, with no brush, in the object's colour shaded by the
// distance of the face's world centre from the light.
void fill_object(Canvas* dc, const Colour* brush, const Object3D& obj, const Light* light);

// Four projected corners as pixels: each coordinate truncated toward zero, kept within range.
void corner_pixels(const Vec3* corners, IntPoint* pixels);
