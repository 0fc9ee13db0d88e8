// fill_object: faces in draw order, corners truncated to pixels, one colour each.
#include "render/fill_object.h"

#include "render/polygon_fill.h"

int32_t to_pixel(float coordinate) {
    // Far beyond any canvas, and small enough for the filler's exact arithmetic; also keeps the
    // conversion defined for wild values.
    constexpr float limit = 268435456.0f; // 2^28
    if (!(coordinate > -limit))
        return static_cast<int32_t>(-limit);
    if (coordinate > limit)
        return static_cast<int32_t>(limit);
    return static_cast<int32_t>(coordinate);
}

void fill_object(Canvas* dc, const Colour* brush, const Object3D& obj, const Light* light) {
    constexpr int32_t max_corners = 16;
    IntPoint corners[max_corners];
    for (int32_t slot = 0; slot < obj.face_count; ++slot) {
        const Face& face = obj.world_faces[obj.draw_order[slot]];
        const int32_t count = face.vertex_count < max_corners ? face.vertex_count : max_corners;
        for (int32_t k = 0; k < count; ++k)
            corners[k] = {to_pixel(face.vertices[k].x), to_pixel(face.vertices[k].y)};
        const Colour colour = brush != nullptr ? *brush : shade(obj, face.centre, *light);
        fill_polygon(dc, corners, count, colour);
    }
}
