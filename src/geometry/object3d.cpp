// Building and releasing boxes.
#include "geometry/object3d.h"

#include "geometry/transform.h"

void set_vec3(Vec3* v, float x, float y, float z) {
    v->x = x;
    v->y = y;
    v->z = z;
}

void alloc_mesh(Object3D* obj, float px, float py, float pz, float vx, float vy, float vz,
                int32_t face_count) {
    obj->model_faces = new Face[face_count]();
    obj->world_faces = new Face[face_count]();
    obj->draw_order = new int32_t[face_count]();
    set_vec3(&obj->position, px, py, pz);
    set_vec3(&obj->velocity, vx, vy, vz);
    obj->face_count = face_count;
    obj->box = false;
}

void alloc_face(Object3D* obj, int32_t index, int32_t vertex_count) {
    obj->model_faces[index].vertex_count = vertex_count;
    obj->world_faces[index].vertex_count = vertex_count;
    obj->model_faces[index].vertices = new Vec3[vertex_count]();
    obj->world_faces[index].vertices = new Vec3[vertex_count]();
}

void face_centre(Face* face) {
    float min_x = 999999.0f, min_y = 999999.0f, min_z = 999999.0f;
    float max_x = -99999.0f, max_y = -99999.0f, max_z = -99999.0f;
    for (int32_t i = 0; i < face->vertex_count; ++i) {
        const Vec3& v = face->vertices[i];
        if (v.x < min_x)
            min_x = v.x;
        if (v.x > max_x)
            max_x = v.x;
        if (v.y < min_y)
            min_y = v.y;
        if (v.y > max_y)
            max_y = v.y;
        if (v.z < min_z)
            min_z = v.z;
        if (v.z > max_z)
            max_z = v.z;
    }
    set_vec3(&face->centre, (min_x + max_x) * 0.5f, (min_y + max_y) * 0.5f, (min_z + max_z) * 0.5f);
}

void make_box(float px, float py, float pz, float cx, float cy, float cz, float vx, float vy,
              float vz, float hx, float hy, float hz, Object3D* obj) {
    alloc_mesh(obj, px, py, pz, vx, vy, vz, 6);
    const float x0 = cx - hx, x1 = cx + hx;
    const float y0 = cy - hy, y1 = cy + hy;
    const float z0 = cz - hz, z1 = cz + hz;
    const Vec3 corners[8] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                             {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    for (int32_t i = 0; i < 6; ++i) {
        alloc_face(obj, i, 4);
        for (int32_t k = 0; k < 4; ++k)
            obj->model_faces[i].vertices[k] = corners[box_faces[i][k]];
        face_centre(&obj->model_faces[i]);
    }
    obj->box = true;
    reset_world(obj);
    obj->angle_z = 0.0f;
    obj->angle_y = 0.0f;
    obj->angle_x = 0.0f;
}

void set_colour(Object3D* obj, int32_t red, int32_t green, int32_t blue) {
    obj->red = red;
    obj->green = green;
    obj->blue = blue;
}

void free_mesh(Object3D* obj) {
    for (int32_t i = 0; i < obj->face_count; ++i) {
        delete[] obj->model_faces[i].vertices;
        obj->model_faces[i].vertices = nullptr;
        delete[] obj->world_faces[i].vertices;
        obj->world_faces[i].vertices = nullptr;
    }
    delete[] obj->model_faces;
    delete[] obj->world_faces;
    delete[] obj->draw_order;
    obj->model_faces = nullptr;
    obj->world_faces = nullptr;
    obj->draw_order = nullptr;
}
