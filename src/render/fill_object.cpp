// fill_object: faces in draw order, corners truncated to pixels, one colour each.
#include "render/fill_object.h"

#include <algorithm>

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
    // The shades of a few faces are worked out before any is filled, so that their arithmetic,
    // independent from face to face, overlaps.
    constexpr int32_t batch = 8;
    Colour colours[batch];
    const auto shade_batch = [&](int32_t first, int32_t end) {
        if (brush != nullptr)
            std::fill(colours, colours + (end - first), *brush);
        else
            shade_faces(obj, *light, obj.draw_order + first, end - first, colours);
    };
    if (obj.box) {
        // A box's faces share its eight corners, held by faces 0 and 1: each is made a pixel
        // once, and the six faces are painted together.
        IntPoint corners[8];
        for (int32_t c = 0; c < 8; ++c) {
            const Vec3& corner = obj.world_faces[c / 4].vertices[c % 4];
            corners[c] = {to_pixel(corner.x), to_pixel(corner.y)};
        }
        shade_batch(0, 6);
        fill_quads(dc, corners, 8, box_faces, obj.draw_order, colours, 6);
        return;
    }
    constexpr int32_t max_corners = 16;
    IntPoint corners[max_corners];
    for (int32_t first = 0; first < obj.face_count; first += batch) {
        const int32_t end = first + batch < obj.face_count ? first + batch : obj.face_count;
        shade_batch(first, end);
        for (int32_t slot = first; slot < end; ++slot) {
            const Face& face = obj.world_faces[obj.draw_order[slot]];
            const int32_t count = face.vertex_count < max_corners ? face.vertex_count : max_corners;
            for (int32_t k = 0; k < count; ++k)
                corners[k] = {to_pixel(face.vertices[k].x), to_pixel(face.vertices[k].y)};
            fill_polygon(dc, corners, count, colours[slot - first]);
        }
    }
}
