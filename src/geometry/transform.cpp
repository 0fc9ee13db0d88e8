// The transform pipeline. Sines and cosines are taken once per turn, in double precision, and
// every coordinate is stored back as a float.
#include "geometry/transform.h"

#include <cmath>

namespace {

// Applies turn(c, s, point) to every world corner and centre.
template <typename Turn> void turn_all(Object3D* obj, float degrees, Turn turn) {
    const double angle = radians(degrees);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (int32_t i = 0; i < obj->face_count; ++i) {
        Face& face = obj->world_faces[i];
        for (int32_t k = 0; k < face.vertex_count; ++k)
            turn(c, s, face.vertices[k]);
        turn(c, s, face.centre);
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

void rotate_z(Object3D* obj, float degrees) {
    turn_all(obj, degrees, [](double c, double s, Vec3& v) {
        const double x = v.x, y = v.y;
        v.x = static_cast<float>(x * c + y * s);
        v.y = static_cast<float>(x * s - y * c);
    });
}

void rotate_x(Object3D* obj, float degrees) {
    turn_all(obj, degrees, [](double c, double s, Vec3& v) {
        const double y = v.y, z = v.z;
        v.y = static_cast<float>(-y * c - z * s);
        v.z = static_cast<float>(y * s - z * c);
    });
}

void rotate_y(Object3D* obj, float degrees) {
    turn_all(obj, degrees, [](double c, double s, Vec3& v) {
        const double x = v.x, z = v.z;
        v.x = static_cast<float>(x * c - z * s);
        v.z = static_cast<float>(x * s + z * c);
    });
}

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

void transform(Object3D* obj) {
    reset_world(obj);
    rotate_z(obj, obj->angle_z);
    rotate_x(obj, obj->angle_x);
    rotate_y(obj, obj->angle_y);
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
