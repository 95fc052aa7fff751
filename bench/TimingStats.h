// Percentiles of a set of timings, for the benchmarks' counters.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

struct TimingStats {
    double p50 = 0;
    double p99 = 0;
    double max = 0;
};

// Nearest-rank percentiles of `samples` (any unit); zeros for none.
inline TimingStats Percentiles(std::vector<std::int64_t> samples) {
    TimingStats stats;
    if (samples.empty()) return stats;
    std::sort(samples.begin(), samples.end());
    const auto rank = [&](double fraction) {
        std::size_t index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size()));
        if (index >= samples.size()) index = samples.size() - 1;
        return static_cast<double>(samples[index]);
    };
    stats.p50 = rank(0.50);
    stats.p99 = rank(0.99);
    stats.max = static_cast<double>(samples.back());
    return stats;
}
