// Per-iteration times that the benchmarks leave behind, for the summary after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>

// Seconds per iteration of each benchmark's last run, by name.
std::map<std::string, double>& measured_seconds();

// Times a benchmark's loop as a whole and records it under name when it ends.
struct LoopTimer {
    std::string name;
    benchmark::State& state;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    ~LoopTimer() {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (state.iterations() > 0)
            measured_seconds()[name] = elapsed.count() / static_cast<double>(state.iterations());
    }
};
