#include "report.h"

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
    if (!r.lattices.empty()) {
        std::fprintf(out,
                     "\nLattice sizes: counted vertices drawn a frame and held in lists, list commands; RebuildMesh "
                     "from the defaults;\nmemory the lists take (heap in use: a software renderer's; GL: what the "
                     "driver reports, - without); frames\n");
        std::fprintf(out, "%-4s %-9s %-8s | %-11s %-10s %-10s | %-20s | %-8s %-8s | %s\n", "mode", "bounding",
                     "interval", "drawn", "list vert", "list cmds", "build ms (p10-p90)", "heap MiB", "GL MiB",
                     "frame ms (p10-p90, n)");
        for (const lattice_row_t& l : r.lattices) {
            char build[64], frame[64], gl[16];
            std::snprintf(build, sizeof build, "%8.1f (%.1f-%.1f)", l.build_ms.median, l.build_ms.low, l.build_ms.high);
            std::snprintf(frame, sizeof frame, "%8.1f (%.1f-%.1f, %zu)", l.frame_ms.median, l.frame_ms.low,
                          l.frame_ms.high, l.frame_ms.count);
            std::snprintf(gl, sizeof gl, l.gl_mib < 0 ? "-" : "%.1f", l.gl_mib);
            std::fprintf(out, "%-4d %-9g %-8g | %-11llu %-10llu %-10llu | %-20s | %-8.1f %-8s | %s\n", l.mode,
                         l.bounding, l.interval, static_cast<unsigned long long>(l.cost.drawn_vertices),
                         static_cast<unsigned long long>(l.cost.list_vertices),
                         static_cast<unsigned long long>(l.cost.list_commands), build, l.heap_mib, gl, frame);
        }
    }
    std::fprintf(out, "\n%s\n", all_targets_met(r) ? "All targets met." : "Some targets MISSED.");
}

bool write_csv(const std::string& folder, const report_t& r) {
    const std::string results_path = folder + "/results.csv";
    const std::string frames_path = folder + "/frames.csv";
    const std::string lattices_path = folder + "/lattices.csv";
    std::ofstream results(results_path);
    std::ofstream frames(frames_path);
    std::ofstream lattices(lattices_path);
    if (!results || !frames || !lattices) {
        std::cerr << "wire_gate_bench: cannot write into " << folder << std::endl;
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
    lattices << "mode,bounding,interval,drawn_vertices,list_vertices,list_commands,build_ms,build_p10,build_p90,"
                "heap_mib,gl_mib,frame_ms,frame_p10,frame_p90,frames\n";
    for (const lattice_row_t& l : r.lattices)
        lattices << l.mode << ',' << l.bounding << ',' << l.interval << ',' << l.cost.drawn_vertices << ','
                 << l.cost.list_vertices << ',' << l.cost.list_commands << ',' << l.build_ms.median << ','
                 << l.build_ms.low << ',' << l.build_ms.high << ',' << l.heap_mib << ',' << l.gl_mib << ','
                 << l.frame_ms.median << ',' << l.frame_ms.low << ',' << l.frame_ms.high << ',' << l.frame_ms.count
                 << '\n';
    results.flush();
    frames.flush();
    lattices.flush();
    if (!results || !frames || !lattices) {
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
