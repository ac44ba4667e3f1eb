#include "bench/report.h"

#include <cmath>
#include <fstream>
#include <iostream>

bool met(const target_t& target, double value) { return std::isnan(target.limit) || value <= target.limit; }

namespace {

const char* verdict(const target_t& target, double value) {
    if (std::isnan(target.limit)) return "";
    return met(target, value) ? "met" : "MISSED";
}

bool allocations_met(const frame_row_t& row) { return row.allocations <= row.expected_allocations; }

}  // namespace

void print_report(std::FILE* out, const report_t& r) {
    std::fprintf(out, "%s\n", r.header.c_str());
    std::fprintf(out,
                 "\nFrame time, medians in ms (p10-p90); floor = the same lattice in one draw call;\n"
                 "ratio = median over the rounds of scene / floor (block medians, drawn moments apart)\n");
    std::fprintf(out, "%-4s %-3s | %-22s | %-22s | %-17s %-8s %-6s | %-7s %-9s | %s\n", "mode", "fog", "scene ms",
                 "floor ms", "ratio (p10-p90)", "target", "", "new/frm", "expected", "pixels differing (max)");
    for (const frame_row_t& f : r.frames) {
        char scene[64], floor[64], ratio[64], pixels[64];
        std::snprintf(scene, sizeof scene, "%7.2f (%.2f-%.2f)", f.scene_ms.median, f.scene_ms.low, f.scene_ms.high);
        std::snprintf(floor, sizeof floor, "%7.2f (%.2f-%.2f)", f.floor_ms.median, f.floor_ms.low, f.floor_ms.high);
        std::snprintf(ratio, sizeof ratio, "%5.2f (%.2f-%.2f)", f.ratio.median, f.ratio.low, f.ratio.high);
        std::snprintf(pixels, sizeof pixels, "%ld (%d)", f.differing_pixels, f.max_channel_difference);
        std::fprintf(out, "%-4d %-3d | %-22s | %-22s | %-17s %-8s %-6s | %-7.2f %-9.0f | %s %s\n", f.mode,
                     f.fog ? 1 : 0, scene, floor, ratio, f.target.text.c_str(), verdict(f.target, f.ratio.median),
                     f.allocations, f.expected_allocations, pixels, allocations_met(f) ? "" : "ALLOCATIONS MISSED");
    }
    std::fprintf(out, "\nStart-up, rebuild and update costs, medians (p10-p90, samples)\n");
    for (const cost_row_t& c : r.costs) {
        char figure[96];
        std::snprintf(figure, sizeof figure, "%10.3f %-9s (%.3f-%.3f, n=%zu)", c.stats.median, c.unit.c_str(),
                      c.stats.low, c.stats.high, c.stats.count);
        std::fprintf(out, "%-34s %-46s %-10s %s\n", c.name.c_str(), figure, c.target.text.c_str(),
                     verdict(c.target, c.stats.median));
    }
    std::fprintf(out, "\n%s\n", all_targets_met(r) ? "All targets met." : "Some targets MISSED.");
}

bool write_csv(const std::string& folder, const report_t& r) {
    const std::string results_path = folder + "/results.csv";
    const std::string frames_path = folder + "/frames.csv";
    std::ofstream results(results_path);
    std::ofstream frames(frames_path);
    if (!results || !frames) {
        std::cerr << "wire_gate_bench: cannot write " << (results ? frames_path : results_path) << std::endl;
        return false;
    }
    results << "figure,median,p10,p90,samples,unit,target,met\n";
    frames << "mode,fog,scene_ms,scene_p10,scene_p90,floor_ms,floor_p10,floor_p90,ratio,ratio_p10,ratio_p90,"
              "allocations_per_frame,differing_pixels,floor_vertices\n";
    const auto row = [&](const std::string& name, const sample_stats_t& s, const std::string& unit, const target_t& t) {
        results << '"' << name << "\"," << s.median << ',' << s.low << ',' << s.high << ',' << s.count << ',' << unit
                << ',' << (std::isnan(t.limit) ? std::string() : std::to_string(t.limit)) << ',' << verdict(t, s.median)
                << '\n';
    };
    const target_t none{std::nan(""), ""};
    for (const frame_row_t& f : r.frames) {
        const std::string tag = " mode " + std::to_string(f.mode) + " fog " + std::to_string(f.fog ? 1 : 0);
        row("frame scene" + tag, f.scene_ms, "ms", none);
        row("frame floor" + tag, f.floor_ms, "ms", none);
        row("frame ratio" + tag, f.ratio, "ratio", f.target);
        sample_stats_t a;
        a.median = a.low = a.high = f.allocations;
        a.count = 1;
        row("allocations per frame" + tag, a, "count", target_t{f.expected_allocations, ""});
        frames << f.mode << ',' << (f.fog ? 1 : 0) << ',' << f.scene_ms.median << ',' << f.scene_ms.low << ','
               << f.scene_ms.high << ',' << f.floor_ms.median << ',' << f.floor_ms.low << ',' << f.floor_ms.high << ','
               << f.ratio.median << ',' << f.ratio.low << ',' << f.ratio.high << ',' << f.allocations << ','
               << f.differing_pixels << ',' << f.vertices << '\n';
    }
    for (const cost_row_t& c : r.costs) row(c.name, c.stats, c.unit, c.target);
    results.flush();
    frames.flush();
    if (!results || !frames) {
        std::cerr << "wire_gate_bench: writing the CSV files into " << folder << " failed" << std::endl;
        return false;
    }
    return true;
}

bool all_targets_met(const report_t& r) {
    for (const frame_row_t& f : r.frames)
        if (!met(f.target, f.ratio.median) || !allocations_met(f)) return false;
    for (const cost_row_t& c : r.costs)
        if (!met(c.target, c.stats.median)) return false;
    return true;
}
