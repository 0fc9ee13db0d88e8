// The benchmark run: the figures of each benchmark, then the comparisons that matter.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/heavy_scene.h"
#include "bench/random_quads.h"
#include "bench/timings.h"

namespace {

// Prints a ratio against its target and its failure line; false when it fails.
bool judge(const char* what, double ratio, double target, double failure, bool higher_is_better) {
    const bool meets = higher_is_better ? ratio >= target : ratio <= target;
    const bool fails = higher_is_better ? ratio < failure : ratio > failure;
    std::printf("%-34s %8.2f   (target %s %.0f, failure %s %.0f): %s\n", what, ratio,
                higher_is_better ? ">=" : "<=", target, higher_is_better ? "<" : ">", failure,
                fails   ? "FAILED"
                : meets ? "met"
                        : "short of the target");
    return !fails;
}

} // namespace

int main(int argc, char** argv) {
    if (!set_up_heavy_scene()) {
        std::fprintf(stderr, "zarnok bench: the game could not start on the dummy drivers\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double ours = reporter.median_seconds("fill/ours"),
                 cairo = reporter.median_seconds("fill/cairo");
    const double frame = reporter.median_seconds("frame/heavy"),
                 memset = reporter.median_seconds("frame/memset");
    if (ours <= 0 || cairo <= 0 || frame <= 0 || memset <= 0)
        return 0; // a filtered run: nothing to compare
    std::printf("\nmedians of five one-second runs\n");
    std::printf("fill, our filler                  %8.3f M quads/s\n", quads_per_set / ours / 1e6);
    std::printf("fill, cairo                       %8.3f M quads/s\n", quads_per_set / cairo / 1e6);
    std::printf("heavy frame                       %8.1f us\n", frame * 1e6);
    // Each stage timed on its own, so with its data in the cache: a guide to where the frame's
    // time goes rather than its exact parts.
    const char* const stages[][2] = {{"stage/background", "background, text and floor"},
                                     {"stage/transform", "transform: turn, order, place"},
                                     {"stage/project", "project"},
                                     {"stage/shade", "shade"},
                                     {"stage/fill", "fill"}};
    double stage_sum = 0;
    for (const auto& [name, what] : stages) {
        const double seconds = reporter.median_seconds(name);
        stage_sum += seconds;
        std::printf("  %-31s %8.1f us\n", what, seconds * 1e6);
    }
    std::printf("  %-31s %8.1f us\n", "the stages together", stage_sum * 1e6);
    std::printf("  %-31s %8.1f us\n", "transform, a point at a time",
                reporter.median_seconds("stage/transform-by-point") * 1e6);
    std::printf("memset of the back buffer         %8.1f us\n", memset * 1e6);
    std::printf("presenting a frame on the full screen, every pixel of the view changed:\n");
    double ratio = 0;
    for (const char* size : {"1920x1080", "3840x2160"}) {
        const double present = reporter.median_seconds(std::string("present/") + size);
        const double copy = reporter.median_seconds(std::string("memcpy/") + size);
        std::printf("  %-31s %8.1f us, a memcpy of the screen %8.1f us\n", size, present * 1e6,
                    copy * 1e6);
        ratio = copy > 0 ? present / copy : 0;
    }
    bool passed = judge("our filler / cairo", cairo / ours, 3.0, 2.0, true);
    passed = judge("heavy frame / memset", frame / memset, 30.0, 60.0, false) && passed;
    passed = judge("present 3840x2160 / screen memcpy", ratio, 1.0, 2.0, false) && passed;
    return passed ? 0 : 2;
}
