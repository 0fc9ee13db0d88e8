// The console report, with the medians kept.
#include "bench/timings.h"

void MedianReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            medians_[run.run_name.function_name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    ConsoleReporter::ReportRuns(runs);
}

double MedianReporter::median_seconds(const std::string& name) const {
    const auto found = medians_.find(name);
    return found == medians_.end() ? 0.0 : found->second;
}
