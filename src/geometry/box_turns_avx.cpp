// Built with AVX enabled, and called only where the processor has it. Nothing here may be an
// inline function shared with the rest of the game, lest the linker keep this file's copy.
#include "geometry/box_turns.h"

#include <immintrin.h>

#include "geometry/transform.h"

namespace {

// Four points' coordinates, one point to a lane.
struct Four {
    __m128 x, y, z;
};

Four gather(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
    return {_mm_setr_ps(a.x, b.x, c.x, d.x), _mm_setr_ps(a.y, b.y, c.y, d.y),
            _mm_setr_ps(a.z, b.z, c.z, d.z)};
}

void scatter(const Four& p, Vec3* const (&to)[4], int32_t count) {
    alignas(16) float x[4], y[4], z[4];
    _mm_store_ps(x, p.x);
    _mm_store_ps(y, p.y);
    _mm_store_ps(z, p.z);
    for (int32_t i = 0; i < count; ++i)
        *to[i] = {x[i], y[i], z[i]};
}

// Stores the four points one after another, as four Vec3.
void store_in_turn(__m128 x, __m128 y, __m128 z, Vec3* to) {
    const __m128 xy_low = _mm_unpacklo_ps(x, y);  // x0 y0 x1 y1
    const __m128 xy_high = _mm_unpackhi_ps(x, y); // x2 y2 x3 y3
    const __m128 z0_x1 = _mm_shuffle_ps(z, xy_low, _MM_SHUFFLE(2, 2, 0, 0));
    const __m128 y1_z1 = _mm_shuffle_ps(xy_low, z, _MM_SHUFFLE(1, 1, 3, 3));
    const __m128 z2_x3 = _mm_shuffle_ps(z, xy_high, _MM_SHUFFLE(2, 2, 2, 2));
    const __m128 y3_z3 = _mm_shuffle_ps(xy_high, z, _MM_SHUFFLE(3, 3, 3, 3));
    float* out = &to[0].x;
    _mm_storeu_ps(out, _mm_shuffle_ps(xy_low, z0_x1, _MM_SHUFFLE(2, 0, 1, 0)));
    _mm_storeu_ps(out + 4, _mm_shuffle_ps(y1_z1, xy_high, _MM_SHUFFLE(1, 0, 2, 0)));
    _mm_storeu_ps(out + 8, _mm_shuffle_ps(z2_x3, y3_z3, _MM_SHUFFLE(2, 0, 2, 0)));
}

// Gives each face its corners, in the order box_faces lists them, from corners 0 to 3 (first)
// and 4 to 7 (second).
void give_faces_corners(Face* faces, const Four& first, const Four& second) {
    store_in_turn(first.x, first.y, first.z, faces[0].vertices);    // 0 1 2 3
    store_in_turn(second.x, second.y, second.z, faces[1].vertices); // 4 5 6 7
    const auto low = [&](__m128 Four::*axis) { return _mm_unpacklo_ps(first.*axis, second.*axis); };
    const auto high = [&](__m128 Four::*axis) {
        return _mm_unpackhi_ps(first.*axis, second.*axis);
    };
    const __m128 x_low = low(&Four::x), y_low = low(&Four::y), z_low = low(&Four::z);
    const __m128 x_high = high(&Four::x), y_high = high(&Four::y), z_high = high(&Four::z);
    // 0 4 7 3 and 1 5 6 2, from (0 4 1 5) and (2 6 3 7)
    constexpr int face_2 = _MM_SHUFFLE(2, 3, 1, 0), face_3 = _MM_SHUFFLE(0, 1, 3, 2);
    store_in_turn(_mm_shuffle_ps(x_low, x_high, face_2), _mm_shuffle_ps(y_low, y_high, face_2),
                  _mm_shuffle_ps(z_low, z_high, face_2), faces[2].vertices);
    store_in_turn(_mm_shuffle_ps(x_low, x_high, face_3), _mm_shuffle_ps(y_low, y_high, face_3),
                  _mm_shuffle_ps(z_low, z_high, face_3), faces[3].vertices);
    // 3 2 6 7 and 0 1 5 4
    constexpr int face_4 = _MM_SHUFFLE(3, 2, 2, 3), face_5 = _MM_SHUFFLE(0, 1, 1, 0);
    store_in_turn(_mm_shuffle_ps(first.x, second.x, face_4),
                  _mm_shuffle_ps(first.y, second.y, face_4),
                  _mm_shuffle_ps(first.z, second.z, face_4), faces[4].vertices);
    store_in_turn(_mm_shuffle_ps(first.x, second.x, face_5),
                  _mm_shuffle_ps(first.y, second.y, face_5),
                  _mm_shuffle_ps(first.z, second.z, face_5), faces[5].vertices);
}

__m256d wide(__m128 four) {
    return _mm256_cvtps_pd(four);
}

__m256d times(__m256d a, __m256d b) {
    return _mm256_mul_pd(a, b);
}

// The three turns of the four points, as one point's: about z (x, y) = (x c + y s, x s - y c),
// about x (y, z) = (-y c - z s, y s - z c), about y (x, z) = (x c - z s, x s + z c).
Four turned(const Four& p, const BoxTurns& t) {
    const __m256d zc = _mm256_set1_pd(t.zc), zs = _mm256_set1_pd(t.zs);
    const __m256d xc = _mm256_set1_pd(t.xc), xs = _mm256_set1_pd(t.xs);
    const __m256d yc = _mm256_set1_pd(t.yc), ys = _mm256_set1_pd(t.ys);
    const __m256d x0 = wide(p.x), y0 = wide(p.y), z0 = wide(p.z);
    const __m128 x1 = _mm256_cvtpd_ps(_mm256_add_pd(times(x0, zc), times(y0, zs)));
    const __m128 y1 = _mm256_cvtpd_ps(_mm256_sub_pd(times(x0, zs), times(y0, zc)));
    const __m256d minus_y1 = _mm256_xor_pd(wide(y1), _mm256_set1_pd(-0.0));
    const __m128 y2 = _mm256_cvtpd_ps(_mm256_sub_pd(times(minus_y1, xc), times(z0, xs)));
    const __m128 z2 = _mm256_cvtpd_ps(_mm256_sub_pd(times(wide(y1), xs), times(z0, xc)));
    const __m256d x2 = wide(x1), z2w = wide(z2);
    const __m128 x3 = _mm256_cvtpd_ps(_mm256_sub_pd(times(x2, yc), times(z2w, ys)));
    const __m128 z3 = _mm256_cvtpd_ps(_mm256_add_pd(times(x2, ys), times(z2w, yc)));
    return {x3, y2, z3};
}

// ((((0 + a) + b) + c) + d) / 4 in double, lane by lane, as a face's depth is summed.
__m256d mean(__m128 a, __m128 b, __m128 c, __m128 d) {
    __m256d sum = _mm256_add_pd(_mm256_setzero_pd(), wide(a));
    sum = _mm256_add_pd(sum, wide(b));
    sum = _mm256_add_pd(sum, wide(c));
    sum = _mm256_add_pd(sum, wide(d));
    return _mm256_div_pd(sum, _mm256_set1_pd(4.0));
}

// The depths of the six faces from the z of corners 0 to 3 (first) and 4 to 7 (second), each
// face adding its corners in the order box_faces lists them.
void face_depths(__m128 first, __m128 second, double depths[8]) {
    const __m128 low = _mm_unpacklo_ps(first, second);  // z0 z4 z1 z5
    const __m128 high = _mm_unpackhi_ps(first, second); // z2 z6 z3 z7
    // Faces 0 to 3 go round corners (0 1 2 3), (4 5 6 7), (0 4 7 3) and (1 5 6 2).
    _mm256_storeu_pd(depths, mean(_mm_shuffle_ps(low, low, _MM_SHUFFLE(2, 0, 1, 0)),
                                  _mm_shuffle_ps(low, low, _MM_SHUFFLE(3, 1, 3, 2)),
                                  _mm_shuffle_ps(high, high, _MM_SHUFFLE(1, 3, 1, 0)),
                                  _mm_shuffle_ps(high, high, _MM_SHUFFLE(0, 2, 3, 2))));
    // Faces 4 and 5 go round (3 2 6 7) and (0 1 5 4).
    _mm256_storeu_pd(depths + 4, mean(_mm_shuffle_ps(first, first, _MM_SHUFFLE(0, 0, 0, 3)),
                                      _mm_shuffle_ps(first, first, _MM_SHUFFLE(0, 0, 1, 2)),
                                      _mm_shuffle_ps(second, second, _MM_SHUFFLE(0, 0, 1, 2)),
                                      _mm_shuffle_ps(second, second, _MM_SHUFFLE(0, 0, 0, 3))));
}

void place(Four& p, const Vec3& by) {
    p.x = _mm_add_ps(p.x, _mm_set1_ps(by.x));
    p.y = _mm_add_ps(p.y, _mm_set1_ps(by.y));
    p.z = _mm_add_ps(p.z, _mm_set1_ps(by.z));
}

// Where the line from each point to the eye meets the plane, in float as one point's is found.
void project(Four& p, const Eye& eye) {
    const __m128 a = _mm_sub_ps(_mm_set1_ps(eye.x), p.x);
    const __m128 b = _mm_sub_ps(_mm_set1_ps(eye.y), p.y);
    const __m128 d = _mm_sub_ps(_mm_set1_ps(eye.z), p.z);
    const __m128 r = _mm_div_ps(_mm_sub_ps(_mm_set1_ps(eye.plane), p.z), d);
    p.x = _mm_add_ps(p.x, _mm_mul_ps(a, r));
    p.y = _mm_add_ps(p.y, _mm_mul_ps(b, r));
    p.z = _mm_add_ps(p.z, _mm_mul_ps(d, r));
}

} // namespace

void transform_box_avx(Object3D& obj, const BoxTurns& turns, const Eye* eye) {
    const Face* model = obj.model_faces;
    Face* world = obj.world_faces;
    const Vec3* first = model[0].vertices;
    const Vec3* second = model[1].vertices;
    Four a = turned(gather(first[0], first[1], first[2], first[3]), turns);
    Four b = turned(gather(second[0], second[1], second[2], second[3]), turns);
    Four c =
        turned(gather(model[0].centre, model[1].centre, model[2].centre, model[3].centre), turns);
    Four d =
        turned(gather(model[4].centre, model[5].centre, model[4].centre, model[5].centre), turns);
    double depths[8];
    face_depths(a.z, b.z, depths);
    for (int32_t i = 0; i < 6; ++i)
        world[i].depth = depths[i];
    place(a, obj.position);
    place(b, obj.position);
    place(c, obj.position);
    place(d, obj.position);
    scatter(c, {&world[0].centre, &world[1].centre, &world[2].centre, &world[3].centre}, 4);
    scatter(d, {&world[4].centre, &world[5].centre, nullptr, nullptr}, 2);
    if (eye != nullptr) {
        project(a, *eye);
        project(b, *eye);
    }
    give_faces_corners(world, a, b);
}
