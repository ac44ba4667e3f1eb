// wire_gate_bench: measures the program on this machine and prints a table.
//
//   wire_gate_bench [--out FOLDER] [--rounds N] [--block N] [--quick] [--dump] [--lattice M:B:I ...]
//   wire_gate_bench --profile-frames N [--mode M] [--fog F] [--floor]
//
// Opens its own 1920x1080 window and measures, in this order: gl_ext_init;
// the scene's construction; frame times of the real scene (through a
// demo_root_t and the shell's display callback, fps and time lines on) in
// each draw mode with fog on and off, against the floor of the same lattice
// in one draw call; heap allocations per frame; one update; RebuildMesh at
// intervals 50, 20, 10 and 5; the lattice sizes of bounding 1000 at intervals
// 50, 20, 10, 5, 2 and 1 in the default mode (--lattice MODE:BOUNDING:INTERVAL,
// repeated, measures those instead). --out writes the CSV files there
// (and with --dump the lattice pixels of scene and floor per mode as PPM). The scene's
// own diagnostic lines are suppressed; the exit status is 0 when every
// target is met, 3 when one is missed, 1 on failure.
//
// --profile-frames draws N frames of the real scene (default mode 2, fog 1;
// --floor: of its floor) and measures nothing: a run to watch under a
// profiler, e.g. valgrind --tool=callgrind
// --toggle-collect='draw_profiled_frames*'.

#include "bench_window.h"
#include "cost_bench.h"
#include "floor_demo.h"
#include "frame_bench.h"
#include "gl_loader/gl_ext.h"
#include "lattice_bench.h"
#include "report.h"
#include "scene/wire_gate_demo.h"
#include "shell/demo.h"
#include "shell/fixed_gl_state.h"
#include "shell/frame.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "shell/toolkit_services.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct options_t {
    std::string out;
    bool dump = false;
    bool quick = false;      // fewer samples: a smoke run, not figures to quote
    int profile_frames = 0;  // > 0: only draw that many scene frames
    int profile_mode = hall_stipple_mode;
    int profile_fog = 1;
    bool profile_floor = false;
    frame_options_t frames;
    std::vector<lattice_row_t> lattices;  // mode, bounding and interval of each lattice size row
};

[[noreturn]] void usage(const char* why) {
    std::cerr << "wire_gate_bench: " << why << "\nusage: wire_gate_bench [--out FOLDER] [--rounds N] [--block N]"
              << " [--quick] [--dump] [--lattice MODE:BOUNDING:INTERVAL ...]\n       wire_gate_bench --profile-frames "
                 "N [--mode 0|1|2] [--fog 0|1] [--floor]"
              << std::endl;
    std::exit(1);
}

int positive(const char* text) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 1 || v > 100000) usage("a count must be a whole number from 1 to 100000");
    return static_cast<int>(v);
}

lattice_row_t lattice_settings(const char* text) {
    lattice_row_t row;
    char tail = '\0';
    if (std::sscanf(text, "%d:%f:%f%c", &row.mode, &row.bounding, &row.interval, &tail) != 3 || row.mode < 0 ||
        row.mode > 2)
        usage("a lattice is MODE:BOUNDING:INTERVAL, the mode 0, 1 or 2");
    return row;
}

int choice(const char* text, int max) {
    if (text[0] < '0' || text[0] > '0' + max || text[1] != '\0')
        usage("a mode must be 0, 1 or 2 and a fog flag 0 or 1");
    return text[0] - '0';
}

options_t parse(int argc, char** argv) {
    options_t o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--out" && has_value)
            o.out = argv[++i];
        else if (a == "--rounds" && has_value)
            o.frames.rounds = positive(argv[++i]);
        else if (a == "--block" && has_value)
            o.frames.block = positive(argv[++i]);
        else if (a == "--profile-frames" && has_value)
            o.profile_frames = positive(argv[++i]);
        else if (a == "--mode" && has_value)
            o.profile_mode = choice(argv[++i], 2);
        else if (a == "--fog" && has_value)
            o.profile_fog = choice(argv[++i], 1);
        else if (a == "--lattice" && has_value)
            o.lattices.push_back(lattice_settings(argv[++i]));
        else if (a == "--floor")
            o.profile_floor = true;
        else if (a == "--quick")
            o.quick = true;
        else if (a == "--dump")
            o.dump = true;
        else
            usage(("unknown or incomplete argument " + a).c_str());
    }
    if (o.dump && o.out.empty()) usage("--dump needs --out");
    if (o.quick) {
        o.frames.rounds = 2;
        o.frames.block = 2;
        o.frames.warmup = 1;
        o.frames.allocation_frames = 4;
    }
    if (o.dump) o.frames.dump_folder = o.out;
    if (o.lattices.empty())
        for (const float interval : {50.0f, 20.0f, 10.0f, 5.0f, 2.0f, 1.0f})
            o.lattices.push_back(lattice_settings(("2:1000:" + std::to_string(interval)).c_str()));
    return o;
}

// Swallows the scene's diagnostic lines while it lives, so standard output
// is the table.
class silenced_cout_t : public std::streambuf {
public:
    silenced_cout_t() : m_saved(std::cout.rdbuf(this)) {}
    ~silenced_cout_t() override { restore(); }
    silenced_cout_t(const silenced_cout_t&) = delete;
    silenced_cout_t& operator=(const silenced_cout_t&) = delete;

    void restore() {
        if (m_saved != nullptr) std::cout.rdbuf(m_saved);
        m_saved = nullptr;
    }

protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }

private:
    std::streambuf* m_saved;
};

target_t no_target() { return {std::nan(""), ""}; }

cost_row_t cost(const std::string& name, const std::vector<double>& samples, const std::string& unit, target_t target) {
    return {name, summarize(samples), unit, std::move(target)};
}

std::string header(const window_size_t& size, const options_t& o) {
    std::ostringstream h;
    const std::time_t now = std::time(nullptr);
    char date[64];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    h << "wire_gate_bench " << date << ", window " << size.width << "x" << size.height << ", renderer "
      << reinterpret_cast<const char*>(glGetString(GL_RENDERER)) << "\n"
      << "scene at the defaults: bounding " << hall_default_bounding << ", interval " << hall_default_interval
      << ", tone 0.8, camera at rest at the origin; " << o.frames.rounds << " rounds x " << o.frames.block
      << " frames each of scene and floor per row" << (o.quick ? " (--quick: smoke run only)" : "");
    return h.str();
}

}  // namespace

int main(int argc, char** argv) {
    const options_t o = parse(argc, argv);
    const window_size_t size = open_bench_window(&argc, argv, kWidth, kHeight, 10.0);
    if (size.width <= 0 || size.height <= 0) {
        std::cerr << "wire_gate_bench: the window was never given a size" << std::endl;
        return 1;
    }
    if (size.width != kWidth || size.height != kHeight)
        std::cerr << "wire_gate_bench: the window is " << size.width << "x" << size.height << ", not " << kWidth << "x"
                  << kHeight << "; the figures are for that size" << std::endl;

    silenced_cout_t silence;
    report_t report;
    const target_t under_20ms{20.0, "< 20 ms"};

    const std::vector<double> first_init = time_gl_ext_init_ms(1);
    set_fixed_gl_state();
    if (o.profile_frames == 0) {
        std::cerr << "wire_gate_bench: start-up costs" << std::endl;
        report.costs.push_back(cost("gl_ext_init (first call)", first_init, "ms", under_20ms));
        report.costs.push_back(
            cost("gl_ext_init (later calls)", time_gl_ext_init_ms(o.quick ? 3 : 25), "ms", under_20ms));
        report.costs.push_back(
            cost("scene construction", time_scene_construction_ms(o.quick ? 2 : 15), "ms", {50.0, "< 50 ms"}));
    }

    // The scene as the program holds it, in a shell of its own with the
    // program's services, and its floor in another.
    shell_state_t scene_shell{toolkit_services(nullptr)}, floor_shell{toolkit_services(nullptr)};
    scene_shell.m_host = make_shell_host(scene_shell);
    auto* scene = new wire_gate_demo(*scene_shell.m_host, [](const char*) -> const char* { return nullptr; });
    scene_shell.m_demo.add(scene);
    auto* floor = new floor_demo_t(*scene);
    floor_shell.m_demo.add(floor);
    for (shell_state_t* shell : {&floor_shell, &scene_shell}) {
        shell->m_demo.start();
        resize_frame(*shell, size.width, size.height);  // the scene's viewport, projection and rings
        // The shell's flags after start-up: fps and time lines on.
        shell->m_show_fps = shell->m_show_time = true;
    }
    // The scene's GL objects go while the context exists.
    const auto clear = [&] {
        floor_shell.m_demo.clear();
        scene_shell.m_demo.clear();
    };

    frame_subjects_t subjects{scene_shell, *scene, floor_shell, *floor, size};
    if (o.profile_frames > 0) {
        profile_frames(subjects, o.profile_mode, o.profile_fog != 0, o.profile_floor, o.profile_frames);
        clear();
        return 0;
    }
    const int order[6][2] = {{2, 1}, {2, 0}, {0, 1}, {0, 0}, {1, 1}, {1, 0}};
    for (const auto& mf : order) {
        std::cerr << "wire_gate_bench: frames in mode " << mf[0] << " with fog " << mf[1] << std::endl;
        frame_row_t row = measure_frames(subjects, mf[0], mf[1] != 0, o.frames);
        row.target = (mf[0] == hall_stipple_mode && mf[1] == 1) ? target_t{1.25, "<= 1.25"} : no_target();
        report.frames.push_back(row);
    }

    std::cerr << "wire_gate_bench: update" << std::endl;
    const update_figures_t updates = time_updates(scene_shell, o.quick ? 5 : 101, o.quick ? 100 : 2000);
    report.costs.push_back(cost("update (processor time)", updates.us, "us", {5.0, "< 5 us"}));
    report.costs.push_back(cost("heap allocations per update", {updates.allocations}, "count", {0.0, "0"}));

    // Rebuilds in the default draw mode, as the interval keys do them.
    std::cerr << "wire_gate_bench: RebuildMesh" << std::endl;
    if (scene->m_meshmode != hall_stipple_mode) demo_key_down(scene_shell, 'L', 0, 0);
    for (const float interval : {50.0f, 20.0f, 10.0f, 5.0f}) {
        const int count = o.quick ? 1 : (interval >= 20.0f ? 9 : 5);
        std::ostringstream name;
        name << "RebuildMesh at interval " << interval;
        report.costs.push_back(cost(name.str(), time_rebuild_ms(*scene, interval, count), "ms",
                                    interval == 5.0f ? target_t{60.0, "< 60 ms"} : no_target()));
    }
    time_rebuild_ms(*scene, hall_default_interval, 1);

    std::vector<double> recording[4];  // ns and bytes a vertex, ns and bytes a command
    std::cerr << "wire_gate_bench: display list recording" << std::endl;
    for (int i = 0; i < (o.quick ? 1 : 5); ++i) {
        const recording_cost_t r = measure_list_recording(2000000);
        recording[0].push_back(r.ns_per_vertex);
        recording[1].push_back(r.bytes_per_vertex);
        recording[2].push_back(r.ns_per_command);
        recording[3].push_back(r.bytes_per_command);
    }
    report.costs.push_back(cost("list recording, per vertex", recording[0], "ns", no_target()));
    report.costs.push_back(cost("list recording, per vertex", recording[1], "bytes", no_target()));
    report.costs.push_back(cost("list recording, per command", recording[2], "ns", no_target()));
    report.costs.push_back(cost("list recording, per command", recording[3], "bytes", no_target()));
    for (const lattice_row_t& l : o.lattices) {
        std::cerr << "wire_gate_bench: lattice of mode " << l.mode << ", bounding " << l.bounding << ", interval "
                  << l.interval << std::endl;
        const bool small = l.interval >= 5.0f;  // frames of seconds below, in software
        report.lattices.push_back(measure_lattice(scene_shell, *scene, l.mode, l.bounding, l.interval,
                                                  o.quick ? 1 : (small ? 5 : 2), o.quick || !small ? 1 : 3));
    }

    report.header = header(size, o);
    silence.restore();
    std::fflush(stdout);
    print_report(stdout, report);
    std::fflush(stdout);
    bool written = true;
    if (!o.out.empty()) written = write_csv(o.out, report);

    clear();
    if (!written) return 1;
    return all_targets_met(report) ? 0 : 3;
}
