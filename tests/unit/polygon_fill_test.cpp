// The polygon filler against a slow reference of its rule, pixel by pixel, over random polygons
// of every size, convex or not, inside the buffer and across its edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "render/fill_object.h"
#include "render/polygon_fill.h"

namespace {

// A pixel is painted when an odd number of edges cross its centre's row at or left of the
// centre; nothing else changes.
bool inside(const std::vector<IntPoint>& corners, int32_t px, int32_t py) {
    const double cx = px + 0.5, cy = py + 0.5;
    int crossings = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        const IntPoint a = corners[i], b = corners[(i + 1) % corners.size()];
        if ((a.y > cy) != (b.y > cy) &&
            a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y) <= cx)
            ++crossings;
    }
    return crossings % 2 == 1;
}

TEST(PolygonFill, MatchesTheReferenceEverywhere) {
    constexpr Colour ground = rgb(1, 2, 3), paint = rgb(250, 186, 150);
    std::mt19937 random(20261207);
    Canvas* canvas = allocate_canvas(61, 45);
    // corner spread and offset range: big shapes across the edges, then tiny faces
    const int32_t kinds[][2] = {{70, 10}, {9, 6}, {3, 3}};
    for (const auto& kind : kinds)
        for (int round = 0; round < 700; ++round) {
            const int32_t ox = static_cast<int32_t>(random() % 70) - kind[1];
            const int32_t oy = static_cast<int32_t>(random() % 55) - kind[1];
            std::vector<IntPoint> corners(3 + random() % 5);
            for (IntPoint& p : corners)
                p = {ox + static_cast<int32_t>(random() % kind[0]) - kind[0] / 2,
                     oy + static_cast<int32_t>(random() % kind[0]) - kind[0] / 2};
            fill_rect(canvas, 0, 0, canvas->width, canvas->height, ground);
            fill_polygon(canvas, corners.data(), static_cast<int32_t>(corners.size()), paint);
            for (int32_t y = 0; y < canvas->height; ++y)
                for (int32_t x = 0; x < canvas->width; ++x)
                    ASSERT_EQ(pixel_at(canvas, x, y),
                              pixel_of(inside(corners, x, y) ? paint : ground))
                        << "pixel " << x << "," << y << ", round " << round << " of spread "
                        << kind[0];
        }
    free_canvas(canvas);
}

// The quick filler of a box's faces paints what the general filler paints, face by face in the
// order given, over random boxes of eight corners, small and large, in and across the buffer.
TEST(PolygonFill, QuadsAsTheGeneralFillerPaintsThem) {
    std::mt19937 random(11);
    Canvas* quick = allocate_canvas(61, 45);
    Canvas* general = allocate_canvas(61, 45);
    for (int round = 0; round < 3000; ++round) {
        const int32_t spread = round % 3 == 0 ? 90 : round % 3 == 1 ? 20 : 5;
        const int32_t ox = static_cast<int32_t>(random() % 70) - 5;
        const int32_t oy = static_cast<int32_t>(random() % 55) - 5;
        IntPoint points[8];
        for (IntPoint& p : points)
            p = {ox + static_cast<int32_t>(random() % spread) - spread / 2,
                 oy + static_cast<int32_t>(random() % spread) - spread / 2};
        int32_t order[6] = {0, 1, 2, 3, 4, 5};
        std::shuffle(order, order + 6, random);
        Colour colours[6];
        for (Colour& colour : colours)
            colour = rgb(random() % 256, random() % 256, random() % 256);
        for (Canvas* canvas : {quick, general})
            fill_rect(canvas, 0, 0, canvas->width, canvas->height, rgb(1, 2, 3));
        fill_quads(quick, points, 8, box_faces, order, colours, 6);
        for (int32_t n = 0; n < 6; ++n) {
            const IntPoint face[4] = {
                points[box_faces[order[n]][0]], points[box_faces[order[n]][1]],
                points[box_faces[order[n]][2]], points[box_faces[order[n]][3]]};
            fill_polygon(general, face, 4, colours[n]);
        }
        for (int32_t y = 0; y < quick->height; ++y)
            for (int32_t x = 0; x < quick->width; ++x)
                ASSERT_EQ(pixel_at(quick, x, y), pixel_at(general, x, y))
                    << "pixel " << x << "," << y << ", round " << round;
    }
    free_canvas(quick);
    free_canvas(general);
}

} // namespace
