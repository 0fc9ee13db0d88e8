// Colour rules and patch finding over game-view pictures.
#include "tests/e2e/view_reading.h"

#include <algorithm>

#include "tests/e2e/aiming.h"

namespace {

// A target is a 10-unit cube half way to the horizon: at least 5 x 5 pixels near the view's
// centre, and stretched up to four times that away from it, where its own depth spreads it.
// Smaller red patches are sparks of explosions darkened to pure red.
constexpr int min_target_pixels = 20;

bool is_target_red(Rgb p) {
    return p.g == 0 && p.b == 0 && p.r >= 60;
}

} // namespace

Rect hud_label_rect(int row) {
    return {0, 20 * row, 78, 20 * row + 16};
}

Rect hud_value_rect(int row) {
    return {80, 20 * row, 200, 20 * row + 16};
}

bool hud_shown(const Image& view) {
    for (int row = 0; row < 4; ++row)
        if (count_colour(view, hud_label_rect(row), hud_label_green) < 20 ||
            count_colour(view, hud_value_rect(row), hud_value_yellow) < 5)
            return false;
    return true;
}

Extent hud_value(const Image& view, int row) {
    return extent_of_colour(view, hud_value_rect(row), hud_value_yellow);
}

std::vector<Blob> find_red_blobs(const Image& view) {
    std::vector<Blob> blobs;
    std::vector<uint8_t> seen(static_cast<size_t>(view.width) * view.height, 0);
    auto red_unseen = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < view.width && y < view.height && !seen[y * view.width + x] &&
               is_target_red(pixel_at(view, x, y));
    };
    std::vector<int> stack;
    for (int start = 0; start < view.width * view.height; ++start) {
        if (!red_unseen(start % view.width, start / view.width))
            continue;
        Blob blob{0, 0, 0, {view.width, view.height, 0, 0}};
        seen[start] = 1;
        stack.push_back(start);
        while (!stack.empty()) {
            const int x = stack.back() % view.width, y = stack.back() / view.width;
            stack.pop_back();
            ++blob.pixels;
            blob.x += x + 0.5;
            blob.y += y + 0.5;
            blob.box = {std::min(blob.box.left, x), std::min(blob.box.top, y),
                        std::max(blob.box.right, x + 1), std::max(blob.box.bottom, y + 1)};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (red_unseen(x + dx, y + dy)) {
                        seen[(y + dy) * view.width + x + dx] = 1;
                        stack.push_back((y + dy) * view.width + x + dx);
                    }
        }
        if (blob.pixels < min_target_pixels)
            continue;
        blob.x /= blob.pixels;
        blob.y /= blob.pixels;
        blobs.push_back(blob);
    }
    return blobs;
}

int count_aim_line(const Image& view, Rect rect) {
    int count = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, view.height); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, view.width); ++x) {
            const Rgb p = pixel_at(view, x, y);
            const bool in_hud = x < 78 && y < 76;
            count += !in_hud && p.r == 0 && p.b == 0 && p.g >= 60 ? 1 : 0;
        }
    return count;
}

Rect aim_line_region(int mouse_x, int mouse_y) {
    Rect r{view_width, view_height, 0, 0};
    for (const ViewPoint& p : aim_line_points(mouse_x, mouse_y)) {
        r.left = std::min(r.left, static_cast<int>(p.x) - 8);
        r.top = std::min(r.top, static_cast<int>(p.y) - 8);
        r.right = std::max(r.right, static_cast<int>(p.x) + 9);
        r.bottom = std::max(r.bottom, static_cast<int>(p.y) + 9);
    }
    return r;
}
