#include "lattice_bench.h"

#include "frame_bench.h"
#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"

#include <GL/gl.h>

#include <malloc.h>

#include <utility>
#include <vector>

namespace {

constexpr GLenum gpu_available_kib_nvx = 0x9049;  // GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX
constexpr GLenum vbo_free_kib_ati = 0x87FB;       // GL_VBO_FREE_MEMORY_ATI: four values, the first the total

double heap_in_use_mib() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// Free video memory in KiB as the driver reports it, or -1.
double gl_free_kib() {
    GLint free[4] = {-1, -1, -1, -1};
    if (gl_ext::has_GL_NVX_gpu_memory_info)
        glGetIntegerv(gpu_available_kib_nvx, free);
    else if (gl_ext::has_GL_ATI_meminfo)
        glGetIntegerv(vbo_free_kib_ati, free);
    return free[0];
}

void rebuild(wire_gate_demo& scene, int mode, float bounding, float interval) {
    scene.m_meshmode = mode;
    scene.m_bounding = bounding;
    scene.m_interval = interval;
    scene.RebuildMesh();
    glFinish();
}

// Seconds and bytes of heap to record `record` into a new list; the list is deleted again.
template <class Record> std::pair<double, double> recorded(Record record) {
    glFinish();
    const double heap = heap_in_use_mib(), t0 = wall_seconds();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    record();
    glEndList();
    glFinish();
    const std::pair<double, double> cost{wall_seconds() - t0, (heap_in_use_mib() - heap) * 1024.0 * 1024.0};
    glDeleteLists(list, 1);
    return cost;
}

}  // namespace

recording_cost_t measure_list_recording(int count) {
    const GLuint inner = glGenLists(1);
    glNewList(inner, GL_COMPILE);
    glEndList();
    const auto [vertex_s, vertex_bytes] = recorded([&] {
        glBegin(GL_POINTS);
        for (int i = 0; i < count; ++i) glVertex3f(static_cast<float>(i), 1.0f, 2.0f);
        glEnd();
    });
    const auto [command_s, command_bytes] = recorded([&] {
        for (int i = 0; i < count / 2; ++i) {
            glCallList(inner);
            glTranslatef(1.0f, 0.0f, 0.0f);
        }
    });
    glDeleteLists(inner, 1);
    return {vertex_s * 1e9 / count, vertex_bytes / count, command_s * 1e9 / count, command_bytes / count};
}

lattice_row_t measure_lattice(shell_state_t& shell, wire_gate_demo& scene, int mode, float bounding, float interval,
                              int samples, int frames) {
    const int default_mode = scene.m_meshmode;
    lattice_row_t row;
    row.mode = mode;
    row.bounding = bounding;
    row.interval = interval;
    row.cost = lattice_cost(libgr::dir3{bounding, bounding, bounding}, libgr::dir3{interval, interval, interval},
                            mode == hall_point_mode);

    std::vector<double> build_ms;
    for (int i = 0; i < samples; ++i) {
        rebuild(scene, default_mode, hall_default_bounding, hall_default_interval);
        const double heap = heap_in_use_mib(), gl_free = gl_free_kib();
        const double t0 = wall_seconds();
        rebuild(scene, mode, bounding, interval);
        build_ms.push_back((wall_seconds() - t0) * 1000.0);
        row.heap_mib = heap_in_use_mib() - heap;
        if (gl_free >= 0) row.gl_mib = (gl_free - gl_free_kib()) / 1024.0;
    }
    row.build_ms = summarize(build_ms);

    timed_frame_ms(shell);  // the driver's shaders for this state
    std::vector<double> frame_ms;
    const double start = wall_seconds();
    while (frame_ms.size() < 20 && (frame_ms.size() < static_cast<std::size_t>(frames) || wall_seconds() - start < 1.0))
        frame_ms.push_back(timed_frame_ms(shell));
    row.frame_ms = summarize(frame_ms);

    rebuild(scene, default_mode, hall_default_bounding, hall_default_interval);
    return row;
}
