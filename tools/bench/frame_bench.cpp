// One heavy main-view frame, without the copy to the window, against a memset of its buffer; and
// each stage of building it timed on its own over the same scene.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/timings.h"
#include "game/entities.h"
#include "render/compose_frame.h"
#include "render/fill_object.h"
#include "world/state.h"

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

// Every object the frame turns and paints. Each stage starts from the world faces a whole frame
// leaves.
std::vector<Object3D*> frame_objects() {
    build_main_frame();
    std::vector<Object3D*> objects;
    for (int32_t k = 0; k < aim_cube_count; ++k)
        objects.push_back(&aim_cubes[k]);
    for (Target* t = target_list.first; t != nullptr; t = t->next)
        objects.push_back(&t->object);
    for (Shot* s = shot_list.first; s != nullptr; s = s->next)
        objects.push_back(&s->object);
    for (Particle* p = particle_list.first; p != nullptr; p = p->next)
        objects.push_back(&p->object);
    return objects;
}

// The background picture, the text over it and the floor.
void background_stage(benchmark::State& state) {
    for (auto _ : state) {
        draw_backdrop();
        benchmark::DoNotOptimize(views[main_view].back_dc->pixels[0]);
    }
}

// Turning, ordering and placing; and the same with boxes turned a point at a time where the
// processor could turn four.
void transform_stage(benchmark::State& state) {
    const std::vector<Object3D*> objects = frame_objects();
    for (auto _ : state)
        for (Object3D* object : objects)
            transform(object);
}

void transform_point_by_point(benchmark::State& state) {
    allow_four_at_a_time(false);
    transform_stage(state);
    allow_four_at_a_time(true);
}

// Corners already on the plane take as long to project as any others.
void project_stage(benchmark::State& state) {
    const std::vector<Object3D*> objects = frame_objects();
    for (auto _ : state)
        for (Object3D* object : objects)
            project(object, views[main_view].eye);
}

void shade_stage(benchmark::State& state) {
    const std::vector<Object3D*> objects = frame_objects();
    Colour colours[6]; // every object of the scene is a box
    for (auto _ : state) {
        for (const Object3D* object : objects) {
            shade_box(*object, views[main_view].light, colours);
            benchmark::DoNotOptimize(colours);
        }
    }
}

// Every face in draw order, corners made pixels, in one colour: all the painting but the shading.
void fill_stage(benchmark::State& state) {
    const std::vector<Object3D*> objects = frame_objects();
    const Colour brush = rgb(200, 100, 50);
    for (auto _ : state) {
        for (const Object3D* object : objects)
            fill_object(views[main_view].back_dc, &brush, *object, nullptr);
        benchmark::DoNotOptimize(views[main_view].back_dc->pixels[0]);
    }
}

} // namespace

BENCHMARK(heavy_frame)->Name("frame/heavy")->Apply(repeated);
BENCHMARK(buffer_memset)->Name("frame/memset")->Apply(repeated);
BENCHMARK(background_stage)->Name("stage/background")->Apply(repeated);
BENCHMARK(transform_stage)->Name("stage/transform")->Apply(repeated);
BENCHMARK(transform_point_by_point)->Name("stage/transform-by-point")->Apply(repeated);
BENCHMARK(project_stage)->Name("stage/project")->Apply(repeated);
BENCHMARK(shade_stage)->Name("stage/shade")->Apply(repeated);
BENCHMARK(fill_stage)->Name("stage/fill")->Apply(repeated);
