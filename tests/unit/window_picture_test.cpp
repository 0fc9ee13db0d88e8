// A window's picture against a slow reference (each window pixel the view pixel under it, found
// by division; the gun view's at its left; black elsewhere), at any place and scale, clipped,
// after changes, and after the place or the window's surface changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/window_picture.h"

namespace {

uint32_t expected(const Canvas* view, const Canvas* beside, ViewPlace place, int32_t x, int32_t y) {
    for (const Canvas* v : {view, beside}) {
        const int32_t left = v == view ? place.x : place.x - (v ? v->width : 0) * place.scale;
        if (v != nullptr && x >= left && y >= place.y && (x - left) / place.scale < v->width &&
            (y - place.y) / place.scale < v->height)
            return pixel_at(v, (x - left) / place.scale, (y - place.y) / place.scale);
    }
    return 0;
}

// Paints the picture, then checks every pixel against the reference and that each pixel that
// changed lies in a rectangle said to have changed; how many rectangles, and their area.
std::pair<int32_t, int32_t> paint(WindowPicture* picture, Canvas* target, const Canvas* view,
                                  const Canvas* beside, ViewPlace place, bool whole) {
    const std::vector<uint32_t> before(target->pixels,
                                       target->pixels + target->width * target->height);
    PixelRect rects[max_changes];
    const int32_t n = paint_window(picture, target, view, beside, place, whole, rects);
    int32_t area = 0, wrong = 0, unsent = 0;
    for (int32_t i = 0; i < n; ++i)
        area += rects[i].w * rects[i].h;
    for (int32_t y = 0; y < target->height; ++y)
        for (int32_t x = 0; x < target->width; ++x) {
            const auto inside = [x, y](const PixelRect& r) {
                return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
            };
            wrong += pixel_at(target, x, y) != expected(view, beside, place, x, y);
            unsent += pixel_at(target, x, y) != before[y * target->width + x] &&
                      std::none_of(rects, rects + n, inside);
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(unsent, 0);
    return {n, area};
}

TEST(WindowPicture, ShowsTheViewsAtAnyPlaceAndSendsOnlyWhatChanged) {
    const std::tuple<int32_t, int32_t, ViewPlace, bool> cases[] = {
        {40, 40, {1, 0, 0}, false},     // a window of the view's size
        {100, 80, {2, 20, 0}, true},    // the one window, twice as large
        {211, 130, {3, 60, 5}, true},   // the full screen, odd sizes
        {30, 20, {1, -5, -10}, false},  // smaller than the view
        {190, 150, {5, 45, -20}, true}, // cut off on three sides, the gun view too
    };
    Canvas* view = allocate_canvas(40, 40);
    Canvas* gun = allocate_canvas(10, 15);
    for (Canvas* c : {view, gun})
        for (uint32_t i = 0; i < static_cast<uint32_t>(c->width * c->height); ++i)
            c->pixels[i] = (i * 2654435761u + 12345u) >> 8;
    for (const auto& [width, height, at, with_gun] : cases) {
        SCOPED_TRACE(width);
        const Canvas* beside = with_gun ? gun : nullptr;
        Canvas* target = allocate_canvas(width, height);
        std::fill_n(target->pixels, width * height, 0xDEADBEEF);
        WindowPicture picture{};
        EXPECT_EQ(paint(&picture, target, view, beside, at, false).first, 1);
        EXPECT_EQ(paint(&picture, target, view, beside, at, false).first, 0);
        // A few pixels here and there, the corners among them: only they are sent.
        for (const auto& [x, y] : {std::pair{0, 0}, {39, 39}, {17, 23}, {18, 23}, {5, 30}})
            view->pixels[y * 40 + x] ^= 0x10101;
        gun->pixels[14 * 10 + 9] ^= 0x10101;
        EXPECT_LT(paint(&picture, target, view, beside, at, false).second,
                  40 * 40 * at.scale * at.scale / 2);
        EXPECT_EQ(paint(&picture, target, view, beside, at, false).first, 0);
        // Asked whole, at a new place, or on a new surface of the same size: all of it again.
        Canvas* fresh = allocate_canvas(width, height);
        for (const int32_t way : {0, 1, 2}) {
            std::fill_n(target->pixels, width * height, 0xDEADBEEF);
            const ViewPlace place{at.scale, at.x + (way > 0), at.y};
            EXPECT_EQ(
                paint(&picture, way == 2 ? fresh : target, view, beside, place, way == 0).first, 1);
        }
        forget_picture(&picture);
        free_canvas(fresh);
        free_canvas(target);
    }
    // Changes in more bands of rows than there is room for come out in fewer rectangles.
    Canvas* last = nullptr;
    PixelRect r[2];
    take_changes(view, &last, r, 2);
    for (const int32_t y : {1, 20, 38})
        view->pixels[y * 40 + y] ^= 1;
    ASSERT_EQ(take_changes(view, &last, r, 2), 2);
    EXPECT_EQ(std::tuple(r[0].y, r[1].y, r[1].y + r[1].h, r[1].x + r[1].w),
              std::tuple(1, 20, 39, 39));
    // Rows changed over the same columns in two bands make one rectangle down both.
    view->pixels[15 * 40 + 3] ^= 1;
    view->pixels[16 * 40 + 3] ^= 1;
    ASSERT_EQ(take_changes(view, &last, r, 2), 1);
    EXPECT_EQ(std::tuple(r[0].x, r[0].y, r[0].w, r[0].h), std::tuple(3, 15, 1, 2));
    free_canvas(last);
    free_canvas(view);
    free_canvas(gun);
}

} // namespace
