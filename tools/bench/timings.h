// How the benchmarks are run and what the summary reads back from them.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Each benchmark runs five times for a second, so that the summary can take the median: this
// machine's speed wanders by a fifth from one second to the next.
inline void repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);
}

// The console report, keeping the median seconds per iteration of each benchmark by name.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    MedianReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    // 0 when the benchmark did not run.
    double median_seconds(const std::string& name) const;

  private:
    std::map<std::string, double> medians_;
};
