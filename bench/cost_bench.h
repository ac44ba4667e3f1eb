#pragma once
// Start-up and rebuild costs, and the processor time of one update: each
// returns its samples (milliseconds, or microseconds for the update).

#include "stats.h"

#include <cstdint>
#include <vector>

class wire_gate_demo;
struct shell_state_t;

// gl_ext_init, repeated `count` times (the first call is the caller's).
std::vector<double> time_gl_ext_init_ms(int count);

// One wire_gate_demo built at the default settings and destroyed again, per
// sample (the environment is not read: HALL_MESH_* never reach it).
std::vector<double> time_scene_construction_ms(int count);

// scene.RebuildMesh with the interval set to `interval`, per sample; the
// scene's other settings stay. GL work is finished before each reading.
std::vector<double> time_rebuild_ms(wire_gate_demo& scene, float interval, int count);

struct update_figures_t {
    std::vector<double> us;    // processor time of one update, per batch
    double allocations = 0.0;  // operator new calls per update
};

// `batches` batches of `per_batch` idle steps (the shell's clock advanced
// by 16 ms each, then the demo updated), timed in thread processor time.
update_figures_t time_updates(shell_state_t& shell, int batches, int per_batch);
