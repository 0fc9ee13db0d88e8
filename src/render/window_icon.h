// The game's icon for its windows and the desktop: one of its red cubes, drawn by its own
// renderer.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"
#include "platform/canvas.h"
#include "render/shading.h"

// The night sky behind the cube.
inline constexpr Colour icon_sky = rgb(8, 10, 32);

// The icon's cube for a picture of size x size pixels, turned and projected, and the light
// that shades it. The caller frees the cube's mesh.
Object3D icon_cube(int32_t size);
Light icon_light(int32_t size);

// A new size x size picture, the caller's to free; the windows take it at 64.
Canvas* draw_window_icon(int32_t size = 64);
