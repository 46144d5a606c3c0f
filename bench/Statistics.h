#pragma once

// With --benchmark_repetitions=N each benchmark also reports the fastest of its N runs, the
// figure least disturbed by other work on the machine.

#include <algorithm>
#include <vector>

namespace woundwell::bench {

inline double minOf(const std::vector<double> &values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

} // namespace woundwell::bench
