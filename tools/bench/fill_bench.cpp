// Filling the random quads with our filler and with cairo (no antialiasing, even-odd rule).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include "bench/random_quads.h"
#include "bench/timings.h"
#include "platform/canvas.h"

namespace {

void report_rate(benchmark::State& state) {
    state.counters["quads_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * quads_per_set, benchmark::Counter::kIsRate);
}

void ours(benchmark::State& state) {
    Canvas* canvas = allocate_canvas(quad_buffer_size, quad_buffer_size);
    const auto& quads = random_quads();
    int32_t set = 0;
    for (auto _ : state) {
        const Quad* first = quads.data() + set * quads_per_set;
        for (int32_t i = 0; i < quads_per_set; ++i)
            fill_polygon(canvas, first[i].data(), 4, static_cast<Colour>(i * 2654435761u));
        benchmark::DoNotOptimize(canvas->pixels[0]);
        set = (set + 1) % quad_sets;
    }
    report_rate(state);
    free_canvas(canvas);
}

void cairo(benchmark::State& state) {
    Canvas* canvas = allocate_canvas(quad_buffer_size, quad_buffer_size);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(canvas->pixels), CAIRO_FORMAT_RGB24, canvas->width,
        canvas->height, canvas->pitch * 4);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    const auto& quads = random_quads();
    int32_t set = 0;
    for (auto _ : state) {
        const Quad* first = quads.data() + set * quads_per_set;
        for (int32_t i = 0; i < quads_per_set; ++i) {
            const uint32_t c = i * 2654435761u;
            cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                 ((c >> 16) & 0xFF) / 255.0);
            cairo_move_to(cr, first[i][0].x, first[i][0].y);
            for (int k = 1; k < 4; ++k)
                cairo_line_to(cr, first[i][k].x, first[i][k].y);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(canvas->pixels[0]);
        set = (set + 1) % quad_sets;
    }
    report_rate(state);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    free_canvas(canvas);
}

} // namespace

BENCHMARK(ours)->Name("fill/ours")->Apply(repeated);
BENCHMARK(cairo)->Name("fill/cairo")->Apply(repeated);
