// Distance shading and the face-by-face painting of objects.
#include <gtest/gtest.h>

#include "geometry/object3d.h"
#include "render/fill_object.h"
#include "render/shading.h"

namespace {

class ShadingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { build_sqrt_table(); }
    Colour shade_at(int32_t r, int32_t g, int32_t b, Vec3 centre, float k = 0.45f) {
        Object3D o{};
        set_colour(&o, r, g, b);
        return shade(o, centre, Light{0, 0, 0, k});
    }
};

TEST_F(ShadingTest, TheTableHoldsSquareRoots) {
    EXPECT_EQ(sqrt_table[0], 0.0f);
    EXPECT_EQ(sqrt_table[100], 10.0f);
    EXPECT_FLOAT_EQ(sqrt_table[159999], 399.99875f);
}

TEST_F(ShadingTest, TenPixelsAwayLoseFourLevelsNotFive) {
    EXPECT_EQ(shade_at(250, 186, 150, {6, 8, 0}), rgb(246, 182, 146));
}

TEST_F(ShadingTest, FiveHundredPixelsAwayLose224) {
    EXPECT_EQ(shade_at(255, 0, 0, {300, 400, 0}), rgb(31, 0, 0));
}

TEST_F(ShadingTest, BothSidesOfTheTableEdgeLose179) {
    // 159999.9 truncates into the table; 160000 takes the direct root.
    Object3D o{};
    set_colour(&o, 200, 200, 200);
    EXPECT_EQ(shade(o, {0, 0, 0}, Light{-399.9999f, 0, 0, 0.45f}), rgb(21, 21, 21));
    EXPECT_EQ(shade_at(200, 200, 200, {400, 0, 0}), rgb(21, 21, 21));
}

TEST_F(ShadingTest, BrightColoursClampAfterTheLoss) {
    // Loss 40 at k = 1 and distance 40; loss 60 at distance 60.
    EXPECT_EQ(shade_at(300, 300, 300, {0, 40, 0}, 1.0f), rgb(255, 255, 255));
    EXPECT_EQ(shade_at(300, 300, 300, {0, 0, 60}, 1.0f), rgb(240, 240, 240));
    EXPECT_EQ(shade_at(-5, 10, 260, {0, 0, 0}, 1.0f), rgb(0, 10, 255));
}

TEST_F(ShadingTest, FarAwayFacesBeyondThirtyTwoBitsStillShade) {
    EXPECT_EQ(shade_at(250, 186, 150, {70000, 0, 0}, 0.001f), rgb(180, 116, 80));
}

TEST(FillObject, PaintsFarFacesFirstAndShadesEachByItsCentre) {
    build_sqrt_table();
    Object3D o{};
    alloc_mesh(&o, 0, 0, 0, 0, 0, 0, 2);
    // Two overlapping squares; face 1 is painted first, face 0 over it.
    for (int f = 0; f < 2; ++f) {
        alloc_face(&o, f, 4);
        const float x0 = f == 0 ? 4.0f : 0.0f;
        Vec3* v = o.world_faces[f].vertices;
        set_vec3(&v[0], x0, 0, 0);
        set_vec3(&v[1], x0 + 8, 0, 0);
        set_vec3(&v[2], x0 + 8, 8, 0);
        set_vec3(&v[3], x0, 8, 0);
        set_vec3(&o.world_faces[f].centre, f == 0 ? 0.0f : 100.0f, 0, 0);
    }
    o.draw_order[0] = 1;
    o.draw_order[1] = 0;
    set_colour(&o, 200, 100, 50);
    Canvas* canvas = allocate_canvas(16, 10);
    const Light light{0, 0, 0, 1.0f};
    fill_object(canvas, nullptr, o, &light);
    EXPECT_EQ(colour_of_pixel(pixel_at(canvas, 1, 1)), rgb(100, 0, 0));    // 100 px away
    EXPECT_EQ(colour_of_pixel(pixel_at(canvas, 6, 1)), rgb(200, 100, 50)); // on top, at the light
    EXPECT_EQ(pixel_at(canvas, 13, 1), 0u);

    const Colour white = rgb(255, 255, 255);
    fill_object(canvas, &white, o, nullptr); // a brush: the light is not needed
    EXPECT_EQ(colour_of_pixel(pixel_at(canvas, 1, 1)), white);
    fill_object(canvas, &black_brush, o, nullptr);
    for (int32_t x = 0; x < 16; ++x)
        EXPECT_EQ(pixel_at(canvas, x, 4), 0u) << x;
    free_canvas(canvas);
    free_mesh(&o);
}

TEST(FillObject, CornersAreTruncatedTowardZero) {
    EXPECT_EQ(to_pixel(10.9f), 10);
    EXPECT_EQ(to_pixel(-0.9f), 0);
    EXPECT_EQ(to_pixel(-1.5f), -1);
    EXPECT_EQ(to_pixel(3.0e12f), 1 << 28);
    EXPECT_EQ(to_pixel(-3.0e12f), -(1 << 28));
}

} // namespace
