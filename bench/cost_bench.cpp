#include "cost_bench.h"

#include "alloc_count.h"
#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"
#include "shell/demo.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

#include <GL/gl.h>

#include <memory>

namespace {

const char* no_variable(const char*) { return nullptr; }

}  // namespace

std::vector<double> time_gl_ext_init_ms(int count) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const double t0 = wall_seconds();
        gl_ext_init();
        ms.push_back((wall_seconds() - t0) * 1000.0);
    }
    return ms;
}

std::vector<double> time_scene_construction_ms(int count) {
    shell_state_t shell;
    const std::unique_ptr<demo_host_t> host = make_shell_host(shell);
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        glFinish();
        const double t0 = wall_seconds();
        auto scene = std::make_unique<wire_gate_demo>(*host, no_variable);
        glFinish();
        ms.push_back((wall_seconds() - t0) * 1000.0);
    }
    return ms;
}

std::vector<double> time_rebuild_ms(wire_gate_demo& scene, float interval, int count) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        scene.m_interval = interval;
        glFinish();
        const double t0 = wall_seconds();
        scene.RebuildMesh();
        glFinish();
        ms.push_back((wall_seconds() - t0) * 1000.0);
    }
    return ms;
}

update_figures_t time_updates(shell_state_t& shell, int batches, int per_batch) {
    update_figures_t f;
    f.us.reserve(static_cast<std::size_t>(batches));
    std::uint64_t allocations = 0;
    for (int b = 0; b < batches; ++b) {
        const std::uint64_t before = bench_allocations();
        const double t0 = thread_cpu_seconds();
        for (int i = 0; i < per_batch; ++i) {
            shell.m_demo_msec += 16;
            demo_update(shell, shell.m_demo_msec);
        }
        const double t1 = thread_cpu_seconds();
        allocations += bench_allocations() - before;
        f.us.push_back((t1 - t0) * 1e6 / per_batch);
    }
    f.allocations = static_cast<double>(allocations) / (static_cast<double>(batches) * per_batch);
    return f;
}
