#pragma once
// The benchmark's results: one row per figure, printed as a table and
// written as CSV (results.csv: every figure; frames.csv: the frame rows by
// draw mode and fog, read by the plot; lattices.csv: the lattice sizes).

#include "lattice_bench.h"
#include "stats.h"

#include <cstdio>
#include <string>
#include <vector>

// A target: the figure must stay at or below limit (NaN: no target).
struct target_t {
    double limit;
    std::string text;  // as the table shows it, e.g. "< 20 ms"
};

struct cost_row_t {
    std::string name;      // e.g. "gl_ext_init (first call)"
    sample_stats_t stats;  // in the unit below
    std::string unit;      // "ms", "us", "per frame"
    target_t target;
};

struct frame_row_t {
    int mode = 0;
    bool fog = false;
    sample_stats_t scene_ms;   // the real scene's frame
    sample_stats_t floor_ms;   // the same lines in one draw call
    sample_stats_t ratio;      // scene / floor per round (block medians), over the rounds
    target_t target;           // on the ratio
    double allocations = 0.0;  // operator new calls per frame (display + update)
    double expected_allocations = 0.0;
    long differing_pixels = 0;  // scene against floor, lattice only
    int max_channel_difference = 0;
    std::size_t vertices = 0;  // in the floor's array
};

bool met(const target_t& target, double value);

struct report_t {
    std::string header;  // settings, window size, renderer, date
    std::vector<frame_row_t> frames;
    std::vector<cost_row_t> costs;
    std::vector<lattice_row_t> lattices;
};

void print_report(std::FILE* out, const report_t& report);
// Writes results.csv, frames.csv and lattices.csv into folder; false (and a line on
// stderr) when a file cannot be written.
bool write_csv(const std::string& folder, const report_t& report);
// True when every figure with a target meets it.
bool all_targets_met(const report_t& report);
