// Solid objects: boxes of flat faces, kept as model faces and as world faces rebuilt per frame.
#pragma once

#include <cstdint>

struct Vec3 {
    float x, y, z;
};

struct Face {
    int32_t vertex_count;
    double depth; // mean z of the turned corners, for ordering the faces far to near
    Vec3* vertices;
    Vec3 centre;
};

struct Object3D {
    Vec3 position;
    Vec3 velocity;                   // per tick; moved by the gameplay only
    float angle_x, angle_y, angle_z; // degrees
    Face* model_faces;
    Face* world_faces;
    int32_t* draw_order; // face indices, farthest first
    int32_t face_count;
    int32_t red, green, blue; // may lie outside 0..255; the shading clamps what is drawn
    // Made by make_box: its faces share eight corners as box_faces lays out, so that each is
    // turned, placed and projected once.
    bool box;
};

// A box's eight corners in the order its faces 0 (at z0) and 1 (at z1) go round them: corner k
// of face i is corner box_faces[i][k].
inline constexpr int8_t box_faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 4, 7, 3},
                                           {1, 5, 6, 2}, {3, 2, 6, 7}, {0, 1, 5, 4}};

void set_vec3(Vec3* v, float x, float y, float z);
void alloc_mesh(Object3D* obj, float px, float py, float pz, float vx, float vy, float vz,
                int32_t face_count);
void alloc_face(Object3D* obj, int32_t index, int32_t vertex_count);
// The centre of the face's bounding box.
void face_centre(Face* face);
// A box with the given position, model-space centre, velocity and half-extents.
void make_box(float px, float py, float pz, float cx, float cy, float cz, float vx, float vy,
              float vz, float hx, float hy, float hz, Object3D* obj);
void set_colour(Object3D* obj, int32_t red, int32_t green, int32_t blue);
// Releases the face arrays and the draw order; the record itself stays with its owner.
void free_mesh(Object3D* obj);
