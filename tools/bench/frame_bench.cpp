// One heavy main-view frame, without the copy to the window, against a memset of its buffer.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/state.h"
#include "bench/timings.h"
#include "render/compose_frame.h"

namespace {

void heavy_frame(benchmark::State& state) {
    for (auto _ : state) {
        build_main_frame();
        benchmark::DoNotOptimize(views[main_view].back_dc->pixels[0]);
    }
}

void buffer_memset(benchmark::State& state) {
    Canvas* back = views[main_view].back_dc;
    const size_t bytes = static_cast<size_t>(back->pitch) * back->height * sizeof(uint32_t);
    for (auto _ : state) {
        std::memset(back->pixels, 0, bytes);
        benchmark::DoNotOptimize(back->pixels[0]);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(heavy_frame)->Name("frame/heavy")->Apply(repeated);
BENCHMARK(buffer_memset)->Name("frame/memset")->Apply(repeated);
