// A window's picture against a slow reference (each window pixel the view pixel under it, found
// by division; the gun view's at its left; black elsewhere), at any place and scale, clipped,
// after changes, and after the place or the window's surface changes.
#include <gtest/gtest.h>

#include <random>
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

// Every pixel is the reference's, and each one that changed lies in a changed rectangle.
void expect_shows(const Canvas* target, const std::vector<uint32_t>& before, const Canvas* view,
                  const Canvas* beside, ViewPlace place, const PixelRect* rects, int32_t count) {
    for (int32_t y = 0; y < target->height; ++y)
        for (int32_t x = 0; x < target->width; ++x) {
            ASSERT_EQ(pixel_at(target, x, y), expected(view, beside, place, x, y)) << x << "," << y;
            bool covered = false;
            for (int32_t i = 0; i < count; ++i)
                covered = covered || (x >= rects[i].x && x < rects[i].x + rects[i].w &&
                                      y >= rects[i].y && y < rects[i].y + rects[i].h);
            ASSERT_TRUE(covered || pixel_at(target, x, y) == before[y * target->width + x])
                << x << "," << y;
        }
}

TEST(WindowPicture, ShowsTheViewsAtAnyPlaceAndSendsOnlyWhatChanged) {
    struct Case {
        int32_t width, height;
        ViewPlace place;
        bool beside;
    };
    const Case cases[] = {
        {40, 40, {1, 0, 0}, false},     // a window of the view's size
        {100, 80, {2, 20, 0}, true},    // the one window, twice as large
        {211, 130, {3, 60, 5}, true},   // the full screen, odd sizes
        {30, 20, {1, -5, -10}, false},  // smaller than the view
        {190, 150, {5, 45, -20}, true}, // cut off on three sides, the gun view too
    };
    std::mt19937 random(20261208);
    Canvas* view = allocate_canvas(40, 40);
    Canvas* gun = allocate_canvas(10, 15);
    for (Canvas* c : {view, gun})
        for (int32_t i = 0; i < c->width * c->height; ++i)
            c->pixels[i] = random() & 0xFFFFFF;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const Canvas* beside = c.beside ? gun : nullptr;
        Canvas* target = allocate_canvas(c.width, c.height);
        const auto garbage = [&] { std::fill_n(target->pixels, c.width * c.height, 0xDEADBEEF); };
        const auto before = [&] {
            return std::vector<uint32_t>(target->pixels, target->pixels + c.width * c.height);
        };
        WindowPicture picture{};
        PixelRect rects[max_changes];
        garbage();
        ASSERT_EQ(paint_window(&picture, target, view, beside, c.place, false, rects), 1);
        expect_shows(target, before(), view, beside, c.place, rects, 1);
        EXPECT_EQ(paint_window(&picture, target, view, beside, c.place, false, rects), 0);
        // A few pixels here and there, the corners among them: only they are painted again.
        for (const auto& [x, y] : {std::pair{0, 0}, {39, 39}, {17, 23}, {18, 23}, {5, 30}})
            view->pixels[y * 40 + x] ^= 0x10101;
        gun->pixels[14 * 10 + 9] ^= 0x10101;
        std::vector<uint32_t> was = before();
        int32_t n = paint_window(&picture, target, view, beside, c.place, false, rects);
        expect_shows(target, was, view, beside, c.place, rects, n);
        int32_t area = 0;
        for (int32_t i = 0; i < n; ++i)
            area += rects[i].w * rects[i].h;
        EXPECT_LT(area, 40 * 40 * c.place.scale * c.place.scale / 2);
        // A new surface, or a new place: all of it again.
        for (const bool whole : {true, false}) {
            garbage();
            const ViewPlace place{c.place.scale, c.place.x + !whole, c.place.y};
            ASSERT_EQ(paint_window(&picture, target, view, beside, place, whole, rects), 1);
            expect_shows(target, before(), view, beside, place, rects, 1);
        }
        forget_picture(&picture);
        free_canvas(target);
    }
    // Changes in more bands of rows than there is room for come out in fewer rectangles.
    Canvas* last = nullptr;
    PixelRect rects[2];
    ASSERT_EQ(take_changes(view, &last, rects, 2), 1);
    for (const int32_t y : {1, 20, 38})
        view->pixels[y * 40 + y] ^= 1;
    ASSERT_EQ(take_changes(view, &last, rects, 2), 2);
    EXPECT_EQ(std::vector<int32_t>({rects[0].y, rects[1].y, rects[1].y + rects[1].h}),
              std::vector<int32_t>({1, 20, 39}));
    free_canvas(last);
    free_canvas(view);
    free_canvas(gun);
}

} // namespace
