// The transform pipeline. Sines and cosines are taken once per turn, in double precision, and
// every coordinate is stored back as a float.
#include "geometry/transform.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/box_turns.h"
#include "geometry/sines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if !defined(__SSE2__)
// One corner or centre turned about one axis. The results are stored as floats after each
// turn, whether the turns run one after another or together (PairedTurns below, where the
// processor takes two doubles at once).
inline void turn_z(double c, double s, Vec3& v) {
    const double x = v.x, y = v.y;
    v.x = static_cast<float>(x * c + y * s);
    v.y = static_cast<float>(x * s - y * c);
}

inline void turn_x(double c, double s, Vec3& v) {
    const double y = v.y, z = v.z;
    v.y = static_cast<float>(-y * c - z * s);
    v.z = static_cast<float>(y * s - z * c);
}

inline void turn_y(double c, double s, Vec3& v) {
    const double x = v.x, z = v.z;
    v.x = static_cast<float>(x * c - z * s);
    v.z = static_cast<float>(x * s + z * c);
}
#endif

struct Turn {
    double c, s;
};

Turn compute_turn(float degrees) {
    const double angle = radians(degrees);
    return {cosine(angle), sine(angle)};
}

// Everything that spins turns by whole degrees, so the turns of 0 to 360 degrees are kept once
// worked out; other angles are worked out each time. The values are the same either way.
Turn whole_degrees[361];
bool known[361];

// turn_of for an angle whose turn is not yet kept: out of the way of the quick look-up.
[[gnu::noinline]] Turn work_out_turn(float degrees) {
    if (!(degrees >= 0.0f && degrees <= 360.0f))
        return compute_turn(degrees);
    const auto index = static_cast<int32_t>(degrees);
    if (static_cast<float>(index) != degrees)
        return compute_turn(degrees);
    whole_degrees[index] = compute_turn(degrees);
    known[index] = true;
    return whole_degrees[index];
}

inline Turn turn_of(float degrees) {
    if (degrees >= 0.0f && degrees <= 360.0f) {
        const auto index = static_cast<int32_t>(degrees);
        if (static_cast<float>(index) == degrees && known[index])
            return whole_degrees[index];
    }
    return work_out_turn(degrees);
}

} // namespace

void reset_world(Object3D* obj) {
    for (int32_t i = 0; i < obj->face_count; ++i) {
        const Face& model = obj->model_faces[i];
        Face& world = obj->world_faces[i];
        for (int32_t k = 0; k < model.vertex_count; ++k)
            world.vertices[k] = model.vertices[k];
        world.centre = model.centre;
    }
}

namespace {

// Puts face i into the draw order of faces 0 to i - 1 after every face that is not farther, so
// that equal depths keep index order.
template <typename DepthOf> void order_face(int32_t* order, int32_t i, DepthOf depth_of) {
    const double depth = depth_of(i);
    int32_t slot = 0;
    while (slot < i && !(depth_of(order[slot]) > depth))
        ++slot;
    // The faces from slot on move up one place, passed along rather than moved in a block,
    // which for so few is quicker.
    for (int32_t moving = i; slot <= i; ++slot)
        std::swap(moving, order[slot]);
}

void place(Vec3& v, const Vec3& p) {
    v.x += p.x;
    v.y += p.y;
    v.z += p.z;
}

} // namespace

void sort_and_place(Object3D* obj) {
    const Vec3 p = obj->position;
    for (int32_t i = 0; i < obj->face_count; ++i) {
        Face& face = obj->world_faces[i];
        double sum = 0.0;
        for (int32_t k = 0; k < face.vertex_count; ++k)
            sum += face.vertices[k].z;
        face.depth = sum / face.vertex_count;
        order_face(obj->draw_order, i, [obj](int32_t f) { return obj->world_faces[f].depth; });
        for (int32_t k = 0; k < face.vertex_count; ++k)
            place(face.vertices[k], p);
        place(face.centre, p);
    }
}

#if defined(__SSE2__)
namespace {

// The three turns of one point, two coordinates at a time. Every product and sum is the one the
// scalar turns make (a product by -c is exactly the negated product by c), and each turn's
// results are rounded to float before the next, so the points come out bit for bit the same.
struct PairedTurns {
    __m128d z_a, z_b; // (x', y') = x * z_a + y * z_b
    __m128d x_a, x_b; // (y', z') = y * x_a + z * x_b
    __m128d y_a, y_b; // (x', z') = x * y_a + z * y_b

    PairedTurns(Turn z, Turn x, Turn y)
        : z_a(_mm_set_pd(z.s, z.c)), z_b(_mm_set_pd(-z.c, z.s)), x_a(_mm_set_pd(x.s, -x.c)),
          x_b(_mm_set_pd(-x.c, -x.s)), y_a(_mm_set_pd(y.s, y.c)), y_b(_mm_set_pd(y.c, -y.s)) {}

    static __m128d rounded(__m128d pair) { return _mm_cvtps_pd(_mm_cvtpd_ps(pair)); }

    void apply(const Vec3& from, Vec3& to) const {
        const __m128d x0 = _mm_set1_pd(from.x), y0 = _mm_set1_pd(from.y);
        const __m128d xy = rounded(_mm_add_pd(_mm_mul_pd(x0, z_a), _mm_mul_pd(y0, z_b)));
        const __m128d x1 = _mm_unpacklo_pd(xy, xy), y1 = _mm_unpackhi_pd(xy, xy);
        const __m128d z0 = _mm_set1_pd(from.z);
        const __m128d yz = rounded(_mm_add_pd(_mm_mul_pd(y1, x_a), _mm_mul_pd(z0, x_b)));
        const __m128d z1 = _mm_unpackhi_pd(yz, yz);
        const __m128d xz = _mm_add_pd(_mm_mul_pd(x1, y_a), _mm_mul_pd(z1, y_b));
        to.x = static_cast<float>(_mm_cvtsd_f64(xz));
        to.y = static_cast<float>(_mm_cvtsd_f64(yz));
        to.z = static_cast<float>(_mm_cvtsd_f64(_mm_unpackhi_pd(xz, xz)));
    }
};

} // namespace
#endif

namespace {

// Puts a box's six faces in draw order by their depths; the depths and the order are kept at
// hand meanwhile.
void order_box_faces(Object3D* obj, const double depths[6]) {
    int32_t order[6];
    for (int32_t i = 0; i < 6; ++i)
        order_face(order, i, [depths](int32_t f) { return depths[f]; });
    std::copy(order, order + 6, obj->draw_order);
}

// sort_and_place for a box whose turned corners are at hand: each face's depth adds the same
// corners in the same order as the face lists them, and the corners are placed where they are.
void sort_and_place_box(Object3D* obj, Vec3 corners[8]) {
    double depths[6];
    for (int32_t i = 0; i < 6; ++i) {
        double sum = 0.0;
        for (int32_t k = 0; k < 4; ++k)
            sum += corners[box_faces[i][k]].z;
        obj->world_faces[i].depth = depths[i] = sum / 4;
    }
    order_box_faces(obj, depths);
    const Vec3 p = obj->position;
    for (int32_t c = 0; c < 8; ++c)
        place(corners[c], p);
    for (int32_t i = 0; i < 6; ++i)
        place(obj->world_faces[i].centre, p);
}

void set_box_corners(Object3D* obj, const Vec3 corners[8]) {
    for (int32_t i = 0; i < 6; ++i)
        for (int32_t k = 0; k < 4; ++k)
            obj->world_faces[i].vertices[k] = corners[box_faces[i][k]];
}

void project_point(Vec3& v, const Eye& eye) {
    const float a = eye.x - v.x;
    const float b = eye.y - v.y;
    const float d = eye.z - v.z;
    const float r = (eye.plane - v.z) / d;
    v.x = v.x + a * r;
    v.y = v.y + b * r;
    v.z = v.z + d * r;
}

// The three turns by an object's angles (z, x, y), applied a point at a time.
class ObjectTurns {
  public:
    explicit ObjectTurns(const Object3D& obj)
        : z_(turn_of(obj.angle_z)), x_(turn_of(obj.angle_x)), y_(turn_of(obj.angle_y))
#if defined(__SSE2__)
          ,
          paired_(z_, x_, y_)
#endif
    {
    }
    void apply(const Vec3& from, Vec3& to) const {
#if defined(__SSE2__)
        paired_.apply(from, to);
#else
        to = from;
        turn_z(z_.c, z_.s, to);
        turn_x(x_.c, x_.s, to);
        turn_y(y_.c, y_.s, to);
#endif
    }

  private:
    Turn z_, x_, y_;
#if defined(__SSE2__)
    PairedTurns paired_;
#endif
};

bool four_at_a_time_allowed = true;

// A box turned, ordered, placed and, given an eye, projected, on processors with AVX: false
// elsewhere.
bool transform_box_four_at_a_time(Object3D* obj, const Eye* eye) {
#if defined(ZARNOK_AVX_TURNS)
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (avx && four_at_a_time_allowed) {
        const Turn z = turn_of(obj->angle_z), x = turn_of(obj->angle_x), y = turn_of(obj->angle_y);
        transform_box_avx(*obj, {z.c, z.s, x.c, x.s, y.c, y.s}, eye);
        double depths[6];
        for (int32_t i = 0; i < 6; ++i)
            depths[i] = obj->world_faces[i].depth;
        order_box_faces(obj, depths);
        return true;
    }
#endif
    static_cast<void>(obj);
    static_cast<void>(eye);
    return false;
}

// A box's centres turned and its faces ordered and placed, as transform does, with its eight
// corners turned and placed once each into corners.
void turn_box(Object3D* obj, Vec3 corners[8]) {
    const ObjectTurns turns(*obj);
    for (int32_t i = 0; i < obj->face_count; ++i)
        turns.apply(obj->model_faces[i].centre, obj->world_faces[i].centre);
    for (int32_t k = 0; k < 4; ++k) {
        turns.apply(obj->model_faces[0].vertices[k], corners[k]);
        turns.apply(obj->model_faces[1].vertices[k], corners[4 + k]);
    }
    sort_and_place_box(obj, corners);
}

} // namespace

void allow_four_at_a_time(bool allowed) {
    four_at_a_time_allowed = allowed;
}

// reset_world and the three turns (z, x, y) taken a point at a time: each point is read and
// written once instead of four times, with the same arithmetic. A box turns each of
// its eight corners once rather than once for every face that shares it.
void transform(Object3D* obj) {
    if (obj->box) {
        if (transform_box_four_at_a_time(obj, nullptr))
            return;
        Vec3 corners[8];
        turn_box(obj, corners);
        set_box_corners(obj, corners);
        return;
    }
    const ObjectTurns turns(*obj);
    for (int32_t i = 0; i < obj->face_count; ++i) {
        const Face& model = obj->model_faces[i];
        Face& world = obj->world_faces[i];
        turns.apply(model.centre, world.centre);
        for (int32_t k = 0; k < model.vertex_count; ++k)
            turns.apply(model.vertices[k], world.vertices[k]);
    }
    sort_and_place(obj);
}

// A box's eight corners are taken from its faces 0 and 1, projected once each and passed on.
void project(Object3D* obj, const Eye& eye) {
    if (obj->box) {
        Vec3 corners[8];
        for (int32_t k = 0; k < 4; ++k) {
            corners[k] = obj->world_faces[0].vertices[k];
            corners[4 + k] = obj->world_faces[1].vertices[k];
        }
        for (Vec3& corner : corners)
            project_point(corner, eye);
        set_box_corners(obj, corners);
        return;
    }
    for (int32_t i = 0; i < obj->face_count; ++i) {
        Face& face = obj->world_faces[i];
        for (int32_t k = 0; k < face.vertex_count; ++k)
            project_point(face.vertices[k], eye);
    }
}

void transform_and_project(Object3D* obj, const Eye& eye) {
    if (!obj->box) {
        transform(obj);
        project(obj, eye);
        return;
    }
    if (transform_box_four_at_a_time(obj, &eye))
        return;
    Vec3 corners[8];
    turn_box(obj, corners);
    for (Vec3& corner : corners)
        project_point(corner, eye);
    set_box_corners(obj, corners);
}
