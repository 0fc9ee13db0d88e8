// Storage of the measured times.
#include "bench/timings.h"

std::map<std::string, double>& measured_seconds() {
    static std::map<std::string, double> seconds;
    return seconds;
}
