#pragma once
// Clocks and sample summaries for the benchmark. Every figure is a median
// over many samples: the machine is shared, so single readings mean little.

#include <cstddef>
#include <vector>

// Seconds on a monotonic wall clock.
double wall_seconds();
// Processor time of the calling thread, seconds.
double thread_cpu_seconds();

struct sample_stats_t {
    double median = 0.0;
    double low = 0.0;   // 10th percentile
    double high = 0.0;  // 90th percentile
    std::size_t count = 0;
};

// Median and the 10th / 90th percentiles (nearest rank); zeros when empty.
sample_stats_t summarize(std::vector<double> samples);
