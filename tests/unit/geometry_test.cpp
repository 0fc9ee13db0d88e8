// Boxes, their turns, depth order and projection, with the game's own arithmetic.
#include <gtest/gtest.h>

#include <cstring>

#include "geometry/object3d.h"
#include "geometry/transform.h"

namespace {

struct Box {
    Object3D object{};
    Box(float px, float py, float pz, float hx, float hy, float hz) {
        make_box(px, py, pz, 0, 0, 0, 0.5f, -0.25f, 3.0f, hx, hy, hz, &object);
    }
    ~Box() { free_mesh(&object); }
};

void expect_vec(const Vec3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(MakeBox, FaceCentresLieOnTheSixSides) {
    Box box(0, 0, 0, 1, 2, 3);
    const Vec3 expected[6] = {{0, 0, -3}, {0, 0, 3}, {-1, 0, 0}, {1, 0, 0}, {0, 2, 0}, {0, -2, 0}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        expect_vec(box.object.model_faces[i].centre, expected[i].x, expected[i].y, expected[i].z);
        EXPECT_EQ(box.object.model_faces[i].vertex_count, 4);
    }
}

TEST(MakeBox, WorldStartsAsModelWithNoTurnAndExactMotion) {
    Box box(10.25f, -3.5f, -50.0f, 5, 5, 5);
    const Object3D& o = box.object;
    expect_vec(o.position, 10.25f, -3.5f, -50.0f);
    expect_vec(o.velocity, 0.5f, -0.25f, 3.0f);
    EXPECT_EQ(o.angle_x, 0.0f);
    EXPECT_EQ(o.angle_y, 0.0f);
    EXPECT_EQ(o.angle_z, 0.0f);
    EXPECT_EQ(o.face_count, 6);
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 4; ++k) {
            const Vec3& m = o.model_faces[i].vertices[k];
            const Vec3& w = o.world_faces[i].vertices[k];
            EXPECT_EQ(m.x, w.x);
            EXPECT_EQ(m.y, w.y);
            EXPECT_EQ(m.z, w.z);
        }
}

TEST(MakeBox, ZeroHalfExtentsPutEveryCornerAndCentreOnTheBoxCentre) {
    Object3D o{};
    make_box(0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, &o);
    for (int i = 0; i < 6; ++i) {
        expect_vec(o.model_faces[i].centre, 7, 8, 9);
        expect_vec(o.model_faces[i].vertices[2], 7, 8, 9);
    }
    free_mesh(&o);
}

TEST(MakeBox, ColoursAreStoredUnclampedAndFreeingClearsTheMesh) {
    Object3D o{};
    make_box(0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, &o);
    set_colour(&o, 300, 300, -4);
    EXPECT_EQ(o.red, 300);
    EXPECT_EQ(o.blue, -4);
    Face* model = o.model_faces;
    free_mesh(&o);
    EXPECT_EQ(o.model_faces, nullptr);
    EXPECT_EQ(o.world_faces, nullptr);
    EXPECT_EQ(o.draw_order, nullptr);
    (void)model;
}

TEST(Transform, AllAnglesZeroMirrorsZAndOrdersFarToNear) {
    Box box(100, 50, -20, 1, 2, 3);
    transform(&box.object);
    const Object3D& o = box.object;
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 4; ++k) {
            const Vec3& m = o.model_faces[i].vertices[k];
            expect_vec(o.world_faces[i].vertices[k], m.x + 100, m.y + 50, -m.z - 20);
        }
    EXPECT_DOUBLE_EQ(o.world_faces[0].depth, 3.0);
    EXPECT_DOUBLE_EQ(o.world_faces[1].depth, -3.0);
    EXPECT_DOUBLE_EQ(o.world_faces[4].depth, 0.0);
    const int32_t expected[6] = {1, 2, 3, 4, 5, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(o.draw_order[i], expected[i]) << i;
    expect_vec(o.world_faces[0].centre, 100, 50, -17); // centres move with the corners
}

TEST(Transform, IsExactlyTheFiveStepsInTheirOrder) {
    for (int round = 0; round < 50; ++round) {
        const float f = static_cast<float>(round);
        Box fused(f * 3.5f, -f, -f * 7.25f, 1.5f + f, 4.0f, 0.5f + f * 0.1f);
        Box stepwise(f * 3.5f, -f, -f * 7.25f, 1.5f + f, 4.0f, 0.5f + f * 0.1f);
        for (Object3D* o : {&fused.object, &stepwise.object}) {
            o->angle_x = f * 37.3f;
            o->angle_y = 359.9f - f * 11.1f;
            o->angle_z = f * f * 0.7f;
        }
        transform(&fused.object);
        Object3D& o = stepwise.object;
        reset_world(&o);
        rotate_z(&o, o.angle_z);
        rotate_x(&o, o.angle_x);
        rotate_y(&o, o.angle_y);
        sort_and_place(&o);
        for (int i = 0; i < 6; ++i) {
            const Face& a = fused.object.world_faces[i];
            const Face& b = o.world_faces[i];
            EXPECT_EQ(fused.object.draw_order[i], o.draw_order[i]);
            EXPECT_EQ(a.depth, b.depth);
            EXPECT_EQ(std::memcmp(a.vertices, b.vertices, 4 * sizeof(Vec3)), 0) << round;
            EXPECT_EQ(std::memcmp(&a.centre, &b.centre, sizeof(Vec3)), 0) << round;
        }
    }
}

TEST(Transform, EqualDepthsKeepIndexOrderWhateverCameBefore) {
    // One corner a face; with no turn a model z of -d gives the face a depth of d.
    const float depths[5] = {0, -2, 0, 1, 0};
    Object3D o{};
    alloc_mesh(&o, 0, 0, 0, 0, 0, 0, 5);
    for (int i = 0; i < 5; ++i) {
        alloc_face(&o, i, 1);
        set_vec3(&o.model_faces[i].vertices[0], 0, 0, -depths[i]);
    }
    transform(&o);
    const int32_t expected[5] = {1, 0, 2, 4, 3};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(o.draw_order[i], expected[i]) << i;
    free_mesh(&o);
}

TEST(Transform, NinetyDegreesIsOnePointFiveSevenRadians) {
    Object3D o{};
    alloc_mesh(&o, 0, 0, 0, 0, 0, 0, 1);
    alloc_face(&o, 0, 1);
    set_vec3(&o.world_faces[0].vertices[0], 1, 0, 0);
    rotate_y(&o, 90.0f);
    const Vec3& v = o.world_faces[0].vertices[0];
    EXPECT_NEAR(v.x, 0.000796, 0.0000005);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_NEAR(v.z, 0.9999997, 0.0000001);
    free_mesh(&o);
}

TEST(Transform, TurnsHaveTheGamesSigns) {
    Object3D o{};
    alloc_mesh(&o, 0, 0, 0, 0, 0, 0, 1);
    alloc_face(&o, 0, 1);
    Vec3& v = o.world_faces[0].vertices[0];
    set_vec3(&v, 1, 2, 3);
    rotate_z(&o, 0.0f); // mirrors y
    expect_vec(v, 1, -2, 3);
    rotate_x(&o, 0.0f); // mirrors y and z
    expect_vec(v, 1, 2, -3);
    set_vec3(&v, 0, 0, -1);
    rotate_y(&o, 30.0f); // a far end swings toward +x for a positive yaw
    EXPECT_GT(v.x, 0.49f);
    free_mesh(&o);
}

TEST(Project, PointsMeetThePlaneOnTheirWayToTheEye) {
    Object3D o{};
    alloc_mesh(&o, 0, 0, 0, 0, 0, 0, 1);
    alloc_face(&o, 0, 3);
    Vec3* v = o.world_faces[0].vertices;
    set_vec3(&v[0], 300, 200, -50);
    set_vec3(&v[1], 123, 77, 0);
    set_vec3(&v[2], 300, 200, 25);
    set_vec3(&o.world_faces[0].centre, 300, 200, -50);
    project(&o, Eye{200, 200, 50, 0});
    expect_vec(v[0], 250, 200, 0);
    EXPECT_FLOAT_EQ(v[1].x, 123);
    EXPECT_FLOAT_EQ(v[1].y, 77);
    EXPECT_FLOAT_EQ(v[2].x, 400);
    EXPECT_FLOAT_EQ(v[2].y, 200);
    expect_vec(o.world_faces[0].centre, 300, 200, -50); // centres are not projected
    free_mesh(&o);
}

} // namespace
