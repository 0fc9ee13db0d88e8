// Presenting one frame on a full screen the way the window surfaces take it: the heavy frame's
// view compared with the frame shown before and enlarged into a picture of the screen's size,
// the gun view in the margin, every pixel of the view changed (the most a frame can cost);
// beside it a memcpy of the screen's bytes, the least that sending every pixel would cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "bench/timings.h"
#include "platform/window.h"
#include "platform/window_picture.h"
#include "world/state.h"

namespace {

// The view on the full screen: centred at the largest whole scale that leaves the gun view room
// at its left.
ViewPlace full_screen_place(int32_t width, int32_t height, const Canvas* view) {
    const int32_t scale = std::min(height / view->height, width / (view->width + 200));
    return {scale, (width - view->width * scale) / 2, (height - view->height * scale) / 2};
}

void present_frame(benchmark::State& state) {
    const int32_t width = static_cast<int32_t>(state.range(0));
    const int32_t height = static_cast<int32_t>(state.range(1));
    const Canvas* heavy = views[main_view].back_dc;
    Canvas* frames[2] = {allocate_canvas(heavy->width, heavy->height),
                         allocate_canvas(heavy->width, heavy->height)};
    copy_block(frames[0], heavy, heavy->width, heavy->height);
    for (int32_t i = 0; i < heavy->width * heavy->height; ++i)
        frames[1]->pixels[i] = frames[0]->pixels[i] ^ 0x00FFFFFF;
    const Canvas* gun = get_window_canvas(views[gun_view].window);
    Canvas* screen = allocate_canvas(width, height);
    WindowPicture picture{};
    PixelRect changed[max_changes];
    const ViewPlace place = full_screen_place(width, height, heavy);
    paint_window(&picture, screen, frames[0], gun, place, false, changed);
    int64_t shown = 0;
    for (auto _ : state) {
        ++shown;
        benchmark::DoNotOptimize(
            paint_window(&picture, screen, frames[shown % 2], gun, place, false, changed));
        benchmark::ClobberMemory();
    }
    forget_picture(&picture);
    free_canvas(screen);
    free_canvas(frames[0]);
    free_canvas(frames[1]);
}

void screen_memcpy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0) * state.range(1)) * sizeof(uint32_t);
    Canvas* from =
        allocate_canvas(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    Canvas* to = allocate_canvas(from->width, from->height);
    for (auto _ : state) {
        std::memcpy(to->pixels, from->pixels, bytes);
        benchmark::ClobberMemory();
    }
    free_canvas(from);
    free_canvas(to);
}

} // namespace

BENCHMARK(present_frame)->Name("present/1920x1080")->Args({1920, 1080})->Apply(repeated);
BENCHMARK(screen_memcpy)->Name("memcpy/1920x1080")->Args({1920, 1080})->Apply(repeated);
BENCHMARK(present_frame)->Name("present/3840x2160")->Args({3840, 2160})->Apply(repeated);
BENCHMARK(screen_memcpy)->Name("memcpy/3840x2160")->Args({3840, 2160})->Apply(repeated);
