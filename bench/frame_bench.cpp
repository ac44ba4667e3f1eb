#include "bench/frame_bench.h"

#include "bench/alloc_count.h"
#include "bench/floor_demo.h"
#include "framework/demo_root.h"
#include "scene/wire_gate_demo.h"
#include "shell/callbacks.h"
#include "shell/demo.h"
#include "shell/shell_state.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

// Every attribute group of OpenGL 1.1, as the display callback pushes.
constexpr GLbitfield all_gl11_attribs = 0x000FFFFF;

double median_of(std::vector<double> v) { return summarize(std::move(v)).median; }

// The lattice alone, as display draws it but without overlay and swap, read
// back from the back buffer: RGBA rows, bottom row first.
std::vector<unsigned char> lattice_pixels(const window_size_t& size) {
    glPushAttrib(all_gl11_attribs);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    demo_draw();
    glDisable(GL_DEPTH_TEST);
    glFinish();
    std::vector<unsigned char> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopAttrib();
    return rgba;
}

void write_ppm(const std::string& path, const std::vector<unsigned char>& rgba, const window_size_t& size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::cerr << "wire_gate_bench: cannot write " << path << std::endl;
        return;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", size.width, size.height);
    for (int y = size.height - 1; y >= 0; --y)
        for (int x = 0; x < size.width; ++x)
            std::fwrite(&rgba[(static_cast<std::size_t>(y) * size.width + x) * 4], 1, 3, f);
    std::fclose(f);
}

void set_scene_settings(frame_subjects_t& s, int mode, bool fog) {
    demo_use_root(&s.scene_root);
    static const unsigned char mode_keys[3] = {'l', 'p', 'L'};
    if (s.scene.m_meshmode != mode) demo_key_down(mode_keys[mode], 0, 0);
    if (s.scene.m_meshfog != fog) demo_key_down('o', 0, 0);
    if (s.scene.m_meshmode != mode || s.scene.m_meshfog != fog) {
        std::cerr << "wire_gate_bench: the scene did not take mode " << mode << " fog " << fog << std::endl;
        std::exit(1);
    }
    s.floor.refresh();
}

}  // namespace

double timed_frame_ms() {
    pump_events();
    const double t0 = wall_seconds();
    display();
    glFinish();
    return (wall_seconds() - t0) * 1000.0;
}

frame_row_t measure_frames(frame_subjects_t& s, int mode, bool fog, const frame_options_t& o) {
    frame_row_t row;
    row.mode = mode;
    row.fog = fog;
    set_scene_settings(s, mode, fog);
    row.vertices = s.floor.vertex_count();

    // Warm-up: the driver builds its shader variants for the new state.
    for (demo_root_t* root : {&s.scene_root, &s.floor_root}) {
        demo_use_root(root);
        for (int i = 0; i < o.warmup; ++i) timed_frame_ms();
    }

    // Same pixels? The floor must draw the same lattice for the ratio to mean anything.
    demo_use_root(&s.scene_root);
    const std::vector<unsigned char> scene_px = lattice_pixels(s.window);
    demo_use_root(&s.floor_root);
    const std::vector<unsigned char> floor_px = lattice_pixels(s.window);
    for (std::size_t i = 0; i < scene_px.size(); i += 4) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int(scene_px[i + c]) - int(floor_px[i + c])));
        if (worst > 0) ++row.differing_pixels;
        row.max_channel_difference = std::max(row.max_channel_difference, worst);
    }
    if (!o.dump_folder.empty()) {
        const std::string tag = "-mode" + std::to_string(mode) + "-fog" + std::to_string(fog ? 1 : 0) + ".ppm";
        write_ppm(o.dump_folder + "/scene" + tag, scene_px, s.window);
        write_ppm(o.dump_folder + "/floor" + tag, floor_px, s.window);
    }

    std::vector<double> scene_ms, floor_ms, ratios;
    for (int r = 0; r < o.rounds; ++r) {
        std::vector<double> block[2];  // 0 scene, 1 floor
        // Alternate which goes first, so neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            const int which = (r % 2 == 0) ? k : 1 - k;
            demo_use_root(which == 0 ? &s.scene_root : &s.floor_root);
            for (int i = 0; i < o.block; ++i) block[which].push_back(timed_frame_ms());
        }
        scene_ms.insert(scene_ms.end(), block[0].begin(), block[0].end());
        floor_ms.insert(floor_ms.end(), block[1].begin(), block[1].end());
        ratios.push_back(median_of(block[0]) / median_of(block[1]));
    }
    row.scene_ms = summarize(scene_ms);
    row.floor_ms = summarize(floor_ms);
    // Each round's ratio compares frames drawn moments apart, under the
    // same load: their median is steadier than the ratio of the medians.
    row.ratio = summarize(ratios);

    // Steady state: one idle step (update) and one display per frame.
    demo_use_root(&s.scene_root);
    const std::uint64_t before = bench_allocations();
    for (int i = 0; i < o.allocation_frames; ++i) {
        g_demo_msec += 16;  // the idle step's clock, as at 60 frames per second
        demo_update(g_demo_msec);
        display();
        glFinish();
    }
    row.allocations = static_cast<double>(bench_allocations() - before) / o.allocation_frames;
    // The plain pass makes its fade object on the heap, once per frame.
    row.expected_allocations = (mode != hall_stipple_mode && fog) ? 1.0 : 0.0;
    return row;
}

// Kept out of line, so a profiler can collect inside it alone
// (callgrind --toggle-collect=draw_profiled_frames*).
__attribute__((noinline)) void draw_profiled_frames(int count) {
    for (int i = 0; i < count; ++i) timed_frame_ms();
}

void profile_frames(frame_subjects_t& s, int mode, bool fog, bool floor, int count) {
    set_scene_settings(s, mode, fog);
    demo_use_root(floor ? &s.floor_root : &s.scene_root);
    for (int i = 0; i < 3; ++i)  // the driver compiles its shaders here
        timed_frame_ms();
    draw_profiled_frames(count);
}
