// The floor is painted once, onto an empty layer, and the pixels it covers are kept as runs of
// rows; each frame copies the runs. The bars and the main view's eye and light never change
// while the game runs, so the copies are exactly the pixels painting the bars would give.
#include "render/floor.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "geometry/transform.h"
#include "render/fill_object.h"
#include "world/state.h"

namespace {

struct Run {
    int32_t row, from, to; // pixels from to to - 1 of the row
};

std::vector<Run> runs;
std::vector<uint32_t> run_pixels; // the runs' pixels one after another
bool painted = false;
int32_t covered_from = 0; // the floor covers every pixel of the rows from here to the bottom

// A pixel no face paints: every colour the filler writes leaves the top byte clear.
constexpr uint32_t untouched = 0xFF000000u;

} // namespace

void prepare_floor() {
    if (painted)
        return;
    const View& view = views[main_view];
    Canvas* layer = allocate_canvas(view.back_dc->width, view.back_dc->height);
    std::fill_n(layer->pixels, static_cast<size_t>(layer->width) * layer->height, untouched);
    for (Object3D& bar : floor_bars) {
        transform_and_project(&bar, view.eye);
        fill_object(layer, nullptr, bar, &view.light);
    }
    for (int32_t y = 0; y < layer->height; ++y) {
        const uint32_t* row = layer->pixels + static_cast<ptrdiff_t>(y) * layer->pitch;
        for (int32_t x = 0; x < layer->width;) {
            if (row[x] == untouched) {
                ++x;
                continue;
            }
            const int32_t from = x;
            while (x < layer->width && row[x] != untouched)
                ++x;
            runs.push_back({y, from, x});
            run_pixels.insert(run_pixels.end(), row + from, row + x);
        }
    }
    covered_from = layer->height;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        if (run->row != covered_from - 1 || run->from != 0 || run->to != layer->width)
            break;
        --covered_from;
    }
    free_canvas(layer);
    painted = true;
}

int32_t floor_covers_from() {
    return covered_from;
}

void draw_floor() {
    Canvas* back = views[main_view].back_dc;
    const uint32_t* pixels = run_pixels.data();
    for (const Run& run : runs) {
        if (run.row < back->height && run.to <= back->width)
            std::memcpy(back->pixels + static_cast<ptrdiff_t>(run.row) * back->pitch + run.from,
                        pixels, sizeof(uint32_t) * (run.to - run.from));
        pixels += run.to - run.from;
    }
}

void forget_floor() {
    runs.clear();
    run_pixels.clear();
    painted = false;
}
