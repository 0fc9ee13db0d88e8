// fill_object: faces in draw order, corners truncated to pixels, one colour each.
#include "render/fill_object.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

#include "render/polygon_fill.h"

namespace {

// Far beyond any canvas, and small enough for the filler's exact arithmetic; also keeps the
// conversion defined for wild values.
constexpr float pixel_limit = 268435456.0f; // 2^28

int32_t to_pixel(float coordinate) {
    if (!(coordinate > -pixel_limit))
        return static_cast<int32_t>(-pixel_limit);
    if (coordinate > pixel_limit)
        return static_cast<int32_t>(pixel_limit);
    return static_cast<int32_t>(coordinate);
}

} // namespace

void corner_pixels(const Vec3* corners, IntPoint* pixels) {
#if defined(__SSE2__)
    // The corners' twelve floats, and the x and y of each pair of them.
    const float* from = &corners[0].x;
    const __m128 a = _mm_loadu_ps(from), b = _mm_loadu_ps(from + 4), c = _mm_loadu_ps(from + 8);
    const __m128 first =
        _mm_shuffle_ps(a, _mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 3, 3)), _MM_SHUFFLE(2, 0, 1, 0));
    const __m128 second = _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 1, 3, 2));
    // As to_pixel: max gives the limit for NaN, as !(x > -limit) does.
    const __m128 low = _mm_set1_ps(-pixel_limit), high = _mm_set1_ps(pixel_limit);
    auto* out = reinterpret_cast<__m128i*>(pixels);
    _mm_storeu_si128(out, _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(first, low), high)));
    _mm_storeu_si128(out + 1, _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(second, low), high)));
#else
    for (int32_t k = 0; k < 4; ++k)
        pixels[k] = {to_pixel(corners[k].x), to_pixel(corners[k].y)};
#endif
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
        for (int32_t i = 0; i < 2; ++i)
            corner_pixels(obj.world_faces[i].vertices, corners + 4 * i);
        if (brush != nullptr) {
            std::fill(colours, colours + 6, *brush);
        } else {
            Colour by_face[6];
            shade_box(obj, *light, by_face);
            for (int32_t n = 0; n < 6; ++n)
                colours[n] = by_face[obj.draw_order[n]];
        }
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
