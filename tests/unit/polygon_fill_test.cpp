// The polygon filler against exact pixel sets and against a slow reference of the same rule.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/polygon_fill.h"

namespace {

constexpr Colour paint = rgb(250, 186, 150);

// The rule, one pixel at a time: a pixel is painted when an odd number of edges cross its
// centre's row at or left of the centre.
bool reference_inside(const std::vector<IntPoint>& corners, int32_t px, int32_t py) {
    const double cx = px + 0.5, cy = py + 0.5;
    int crossings = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        const IntPoint a = corners[i], b = corners[(i + 1) % corners.size()];
        if ((a.y > cy) == (b.y > cy))
            continue;
        const double x = a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
        if (x <= cx)
            ++crossings;
    }
    return crossings % 2 == 1;
}

struct Filled {
    Canvas* canvas;
    explicit Filled(const std::vector<IntPoint>& corners, int32_t w = 40, int32_t h = 30) {
        canvas = allocate_canvas(w, h);
        fill_polygon(canvas, corners.data(), static_cast<int32_t>(corners.size()), paint);
    }
    ~Filled() { free_canvas(canvas); }
    bool at(int32_t x, int32_t y) const { return pixel_at(canvas, x, y) == pixel_of(paint); }
    int32_t count() const {
        int32_t n = 0;
        for (int32_t y = 0; y < canvas->height; ++y)
            for (int32_t x = 0; x < canvas->width; ++x)
                n += at(x, y) ? 1 : 0;
        return n;
    }
    // Pixels that differ from the reference.
    int32_t mismatches(const std::vector<IntPoint>& corners) const {
        int32_t n = 0;
        for (int32_t y = 0; y < canvas->height; ++y)
            for (int32_t x = 0; x < canvas->width; ++x)
                n += at(x, y) != reference_inside(corners, x, y) ? 1 : 0;
        return n;
    }
};

TEST(PolygonFill, ASquareCoversItsCornerPixelsButNotItsFarEdges) {
    const Filled f({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    EXPECT_EQ(f.count(), 100);
    EXPECT_TRUE(f.at(10, 10));
    EXPECT_TRUE(f.at(19, 19));
    EXPECT_FALSE(f.at(20, 15));
    EXPECT_FALSE(f.at(15, 20));
    EXPECT_FALSE(f.at(9, 15));
}

TEST(PolygonFill, CornerOrderAndDirectionDoNotMatter) {
    const Filled clockwise({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    const Filled counter({{20, 20}, {20, 10}, {10, 10}, {10, 20}});
    EXPECT_EQ(counter.count(), 100);
    EXPECT_EQ(counter.mismatches({{10, 10}, {20, 10}, {20, 20}, {10, 20}}), 0);
}

TEST(PolygonFill, ARightTriangleFillsAStaircase) {
    const Filled f({{0, 0}, {10, 0}, {0, 10}});
    // Row y keeps the pixels whose centres lie left of x = 10 - (y + 0.5); a centre on the
    // slope belongs to the right edge and stays out.
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 12; ++x)
            EXPECT_EQ(f.at(x, y), x < 9 - y) << x << "," << y;
    EXPECT_EQ(f.count(), 45);
}

TEST(PolygonFill, ConcaveAndSelfCrossingShapesFollowTheEvenOddRule) {
    const std::vector<IntPoint> arrow = {{2, 2}, {30, 12}, {2, 22}, {12, 12}};
    const Filled concave(arrow);
    EXPECT_EQ(concave.mismatches(arrow), 0);
    EXPECT_FALSE(concave.at(5, 12)); // the notch
    EXPECT_TRUE(concave.at(20, 12));

    const std::vector<IntPoint> bow_tie = {{2, 2}, {30, 22}, {30, 2}, {2, 22}};
    const Filled crossing(bow_tie);
    EXPECT_EQ(crossing.mismatches(bow_tie), 0);
    EXPECT_TRUE(crossing.at(5, 12));
    EXPECT_FALSE(crossing.at(16, 4)); // between the wings

    // A pentagram: its centre is crossed twice and stays empty.
    const std::vector<IntPoint> star = {{20, 1}, {31, 28}, {2, 10}, {38, 10}, {9, 28}};
    const Filled pentagram(star);
    EXPECT_EQ(pentagram.mismatches(star), 0);
    EXPECT_FALSE(pentagram.at(20, 15));
}

TEST(PolygonFill, DegenerateFacesPaintNothing) {
    EXPECT_EQ(Filled({{5, 5}, {5, 5}, {5, 5}, {5, 5}}).count(), 0);
    EXPECT_EQ(Filled({{2, 5}, {30, 5}, {12, 5}, {2, 5}}).count(), 0); // a flat line
    EXPECT_EQ(Filled({{7, 2}, {7, 25}, {7, 25}, {7, 2}}).count(), 0); // a vertical line
    EXPECT_EQ(Filled({{3, 3}, {20, 20}, {10, 10}}).count(), 0);       // corners in a row
    EXPECT_EQ(Filled({{3, 3}, {20, 20}}).count(), 0);                 // too few corners
}

TEST(PolygonFill, FacesOutsideTheBufferAreClipped) {
    const std::vector<IntPoint> partly = {{-15, -8}, {25, -4}, {60, 45}, {-3, 20}};
    const Filled clipped(partly);
    EXPECT_EQ(clipped.mismatches(partly), 0);
    EXPECT_GT(clipped.count(), 300);
    EXPECT_EQ(Filled({{-50, -50}, {-10, -50}, {-10, -10}}).count(), 0);
    EXPECT_EQ(Filled({{50, 5}, {90, 5}, {70, 25}}).count(), 0);
    EXPECT_EQ(
        Filled({{-1000000, -1000000}, {1000000, -1000000}, {1000000, 1000000}, {-1000000, 1000000}})
            .count(),
        40 * 30);
}

TEST(PolygonFill, RandomPolygonsMatchTheReferenceEverywhere) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int32_t> x(-10, 50), y(-10, 40), corners(3, 7);
    for (int round = 0; round < 300; ++round) {
        std::vector<IntPoint> polygon(static_cast<size_t>(corners(random)));
        for (IntPoint& p : polygon)
            p = {x(random), y(random)};
        const Filled f(polygon);
        ASSERT_EQ(f.mismatches(polygon), 0) << "round " << round;
    }
}

TEST(PolygonFill, TinyPolygonsMatchTheReferenceToo) {
    // Small enough to be decided pixel by pixel, and some straddling the buffer's edges.
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> offset(-6, 36), size(0, 8), corners(3, 8);
    for (int round = 0; round < 2000; ++round) {
        const int32_t ox = offset(random), oy = offset(random) % 26;
        std::vector<IntPoint> polygon(static_cast<size_t>(corners(random)));
        for (IntPoint& p : polygon)
            p = {ox + size(random), oy + size(random)};
        const Filled f(polygon);
        ASSERT_EQ(f.mismatches(polygon), 0) << "round " << round;
    }
}

TEST(PolygonFill, OnlyThePolygonsPixelsChange) {
    Canvas* canvas = allocate_canvas(20, 20);
    fill_rect(canvas, 0, 0, 20, 20, rgb(1, 2, 3));
    const IntPoint quad[4] = {{4, 4}, {8, 4}, {8, 8}, {4, 8}};
    fill_polygon(canvas, quad, 4, paint);
    int32_t painted = 0, untouched = 0;
    for (int32_t yy = 0; yy < 20; ++yy)
        for (int32_t xx = 0; xx < 20; ++xx) {
            const uint32_t p = pixel_at(canvas, xx, yy);
            painted += p == pixel_of(paint);
            untouched += p == pixel_of(rgb(1, 2, 3));
        }
    EXPECT_EQ(painted, 16);
    EXPECT_EQ(untouched, 400 - 16);
    free_canvas(canvas);
}

} // namespace
