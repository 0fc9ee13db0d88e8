// A tumbling red cube on the night sky, drawn as every box of the game is: turned, ordered far
// to near, projected and filled face by face with distance shading. It is laid out for 64
// pixels and scaled as a whole for other sizes, the light's dimming by distance with it, so
// every size shows the same picture.
#include "render/window_icon.h"

#include "geometry/transform.h"
#include "render/fill_object.h"

Object3D icon_cube(int32_t size) {
    const float s = static_cast<float>(size) / 64.0f;
    Object3D cube{};
    make_box(32.0f * s, 32.0f * s, -20.0f * s, 0, 0, 0, 0, 0, 0, 15.0f * s, 15.0f * s, 15.0f * s,
             &cube);
    set_colour(&cube, 330, 30, 30);
    cube.angle_x = 35.0f;
    cube.angle_y = 45.0f;
    transform_and_project(&cube, Eye{32.0f * s, 32.0f * s, 60.0f * s, 0.0f});
    return cube;
}

Light icon_light(int32_t size) {
    const float s = static_cast<float>(size) / 64.0f;
    return Light{0.0f, 0.0f, 10.0f * s, 4.0f / s};
}

Canvas* draw_window_icon(int32_t size) {
    Canvas* icon = allocate_canvas(size, size);
    fill_rect(icon, 0, 0, size, size, icon_sky);
    Object3D cube = icon_cube(size);
    const Light light = icon_light(size);
    fill_object(icon, nullptr, cube, &light);
    free_mesh(&cube);
    return icon;
}
