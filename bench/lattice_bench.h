#pragma once
// Lattices of other sizes in the real scene: what they record and draw
// (counted), how long a rebuild takes, how much memory their lists hold and
// how long a frame of them takes.

#include "scene/lattice_cost.h"
#include "stats.h"

#include <cstdint>

class wire_gate_demo;
struct shell_state_t;

struct lattice_row_t {
    int mode = 0;
    float bounding = 0.0f;
    float interval = 0.0f;
    lattice_cost_t cost;
    sample_stats_t build_ms;  // RebuildMesh from the default lattice, GL work finished
    double heap_mib = 0.0;    // heap in use beyond the default lattice's: a software renderer keeps its lists there
    double gl_mib = -1.0;     // video memory taken, as GL_NVX_gpu_memory_info or GL_ATI_meminfo says; -1 without
    sample_stats_t frame_ms;  // whole frames through the display callback
};

struct recording_cost_t {
    double ns_per_vertex = 0.0, bytes_per_vertex = 0.0;    // glVertex3f in a list of GL_POINTS
    double ns_per_command = 0.0, bytes_per_command = 0.0;  // glCallList and glTranslatef in a list
};

// What recording into a display list costs, per vertex and per command, as
// the lattice's bounds assume (scene/lattice_cost.h): one list of `count`
// of each, the heap in use before and after.
recording_cost_t measure_list_recording(int count);

// The scene, held by shell's root, at the given settings, then back at the
// defaults. `samples` rebuilds; frames
// until there are `frames` of them and a second has passed, or 20.
lattice_row_t measure_lattice(shell_state_t& shell, wire_gate_demo& scene, int mode, float bounding, float interval,
                              int samples, int frames);
