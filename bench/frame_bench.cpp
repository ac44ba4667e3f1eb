#include "frame_bench.h"

#include "alloc_count.h"
#include "floor_demo.h"
#include "scene/wire_gate_demo.h"
#include "shell/demo.h"
#include "shell/frame.h"
#include "shell/shell_state.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

double median_of(std::vector<double> v) { return summarize(std::move(v)).median; }

// The lattice alone: the frame without the overlay lines and before the
// swap, read back from the back buffer: RGBA rows, bottom row first.
std::vector<unsigned char> lattice_pixels(shell_state_t& shell, const window_size_t& size) {
    shell_state_t& s = shell;
    const bool shown[3] = {s.m_show_fps, s.m_show_time, s.m_show_demo_overlay};
    s.m_show_fps = s.m_show_time = s.m_show_demo_overlay = false;
    render_frame(s);
    s.m_show_fps = shown[0], s.m_show_time = shown[1], s.m_show_demo_overlay = shown[2];
    glFinish();
    std::vector<unsigned char> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopClientAttrib();
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
    static const unsigned char mode_keys[3] = {'l', 'p', 'L'};
    if (s.scene.m_meshmode != mode) demo_key_down(s.scene_shell, mode_keys[mode], 0, 0);
    if (s.scene.m_meshfog != fog) demo_key_down(s.scene_shell, 'o', 0, 0);
    if (s.scene.m_meshmode != mode || s.scene.m_meshfog != fog) {
        std::cerr << "wire_gate_bench: the scene did not take mode " << mode << " fog " << fog << std::endl;
        std::exit(1);
    }
    s.floor.refresh();
}

}  // namespace

double timed_frame_ms(shell_state_t& shell) {
    pump_events();
    const double t0 = wall_seconds();
    draw_frame(shell);
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
    for (shell_state_t* shell : {&s.scene_shell, &s.floor_shell})
        for (int i = 0; i < o.warmup; ++i) timed_frame_ms(*shell);

    // Same pixels? The floor must draw the same lattice for the ratio to mean anything.
    const std::vector<unsigned char> scene_px = lattice_pixels(s.scene_shell, s.window);
    const std::vector<unsigned char> floor_px = lattice_pixels(s.floor_shell, s.window);
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
            shell_state_t& shell = which == 0 ? s.scene_shell : s.floor_shell;
            for (int i = 0; i < o.block; ++i) block[which].push_back(timed_frame_ms(shell));
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
    shell_state_t& shell = s.scene_shell;
    const std::uint64_t before = bench_allocations();
    for (int i = 0; i < o.allocation_frames; ++i) {
        shell.m_demo_msec += 16;  // the idle step's clock, as at 60 frames per second
        demo_update(shell, shell.m_demo_msec);
        draw_frame(shell);
        glFinish();
    }
    row.allocations = static_cast<double>(bench_allocations() - before) / o.allocation_frames;
    // The plain pass makes its fade object on the heap, once per frame.
    row.expected_allocations = (mode != hall_stipple_mode && fog) ? 1.0 : 0.0;
    return row;
}

// Kept out of line, so a profiler can collect inside it alone
// (callgrind --toggle-collect=draw_profiled_frames*).
__attribute__((noinline)) void draw_profiled_frames(shell_state_t& shell, int count) {
    for (int i = 0; i < count; ++i) timed_frame_ms(shell);
}

void profile_frames(frame_subjects_t& s, int mode, bool fog, bool floor, int count) {
    set_scene_settings(s, mode, fog);
    shell_state_t& shell = floor ? s.floor_shell : s.scene_shell;
    for (int i = 0; i < 3; ++i)  // the driver compiles its shaders here
        timed_frame_ms(shell);
    draw_profiled_frames(shell, count);
}
