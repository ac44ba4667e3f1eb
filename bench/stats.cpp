#include "stats.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

double wall_seconds() {
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

double thread_cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

namespace {

// Nearest-rank percentile of sorted samples; q in 0 .. 1.
double rank(const std::vector<double>& sorted, double q) {
    const double position = q * static_cast<double>(sorted.size() - 1);
    return sorted[static_cast<std::size_t>(std::lround(position))];
}

}  // namespace

sample_stats_t summarize(std::vector<double> samples) {
    sample_stats_t s;
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    s.median = n % 2 == 1 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
    s.low = rank(samples, 0.1);
    s.high = rank(samples, 0.9);
    s.count = n;
    return s;
}
