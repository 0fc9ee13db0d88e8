// The transform pipeline. Sines and cosines are taken once per turn, in double precision, and
// every coordinate is stored back as a float.
#include "geometry/transform.h"

#include <cmath>

namespace {

// One corner or centre turned about one axis. The results are stored as floats after each
// turn, whether the turns run one after another or together.
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

struct Turn {
    double c, s;
};

Turn turn_of(float degrees) {
    const double angle = radians(degrees);
    return {std::cos(angle), std::sin(angle)};
}

// Applies turn(c, s, point) to every world corner and centre.
template <typename TurnPoint> void turn_all(Object3D* obj, float degrees, TurnPoint turn) {
    const Turn t = turn_of(degrees);
    for (int32_t i = 0; i < obj->face_count; ++i) {
        Face& face = obj->world_faces[i];
        for (int32_t k = 0; k < face.vertex_count; ++k)
            turn(t.c, t.s, face.vertices[k]);
        turn(t.c, t.s, face.centre);
    }
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

void rotate_z(Object3D* obj, float degrees) { turn_all(obj, degrees, turn_z); }

void rotate_x(Object3D* obj, float degrees) { turn_all(obj, degrees, turn_x); }

void rotate_y(Object3D* obj, float degrees) { turn_all(obj, degrees, turn_y); }

void sort_and_place(Object3D* obj) {
    const Vec3 p = obj->position;
    for (int32_t i = 0; i < obj->face_count; ++i) {
        Face& face = obj->world_faces[i];
        double sum = 0.0;
        for (int32_t k = 0; k < face.vertex_count; ++k)
            sum += face.vertices[k].z;
        face.depth = sum / face.vertex_count;

        // Insert after every face that is not farther, so equal depths keep index order.
        int32_t slot = 0;
        while (slot < i && !(obj->world_faces[obj->draw_order[slot]].depth > face.depth))
            ++slot;
        for (int32_t j = i; j > slot; --j)
            obj->draw_order[j] = obj->draw_order[j - 1];
        obj->draw_order[slot] = i;

        for (int32_t k = 0; k < face.vertex_count; ++k) {
            face.vertices[k].x += p.x;
            face.vertices[k].y += p.y;
            face.vertices[k].z += p.z;
        }
        face.centre.x += p.x;
        face.centre.y += p.y;
        face.centre.z += p.z;
    }
}

// The same steps as reset_world and the three rotate calls, taken a point at a time: each point
// is read and written once instead of four times, with the same arithmetic.
void transform(Object3D* obj) {
    const Turn z = turn_of(obj->angle_z);
    const Turn x = turn_of(obj->angle_x);
    const Turn y = turn_of(obj->angle_y);
    const auto turn = [&](Vec3& v) {
        turn_z(z.c, z.s, v);
        turn_x(x.c, x.s, v);
        turn_y(y.c, y.s, v);
    };
    for (int32_t i = 0; i < obj->face_count; ++i) {
        const Face& model = obj->model_faces[i];
        Face& world = obj->world_faces[i];
        for (int32_t k = 0; k < model.vertex_count; ++k) {
            world.vertices[k] = model.vertices[k];
            turn(world.vertices[k]);
        }
        world.centre = model.centre;
        turn(world.centre);
    }
    sort_and_place(obj);
}

void project(Object3D* obj, const Eye& eye) {
    for (int32_t i = 0; i < obj->face_count; ++i) {
        Face& face = obj->world_faces[i];
        for (int32_t k = 0; k < face.vertex_count; ++k) {
            Vec3& v = face.vertices[k];
            const float a = eye.x - v.x;
            const float b = eye.y - v.y;
            const float d = eye.z - v.z;
            const float r = (eye.plane - v.z) / d;
            v.x = v.x + a * r;
            v.y = v.y + b * r;
            v.z = v.z + d * r;
        }
    }
}
