#pragma once
// Frame times of the real scene and of its floor, interleaved in blocks so
// that a change in the machine's load falls on both alike; the pixels both
// draw; heap allocations per steady-state frame.

#include "bench_window.h"
#include "report.h"

#include <string>

class floor_demo_t;
class wire_gate_demo;
struct shell_state_t;

struct frame_options_t {
    int rounds = 20;  // each round: one block of scene frames, one of floor frames
    int block = 5;    // frames per block
    int warmup = 4;   // untimed frames of each after a settings change
    int allocation_frames = 30;
    std::string dump_folder;  // non-empty: the lattice pixels of scene and floor as PPM files there
};

struct frame_subjects_t {
    shell_state_t& scene_shell;  // its root holds scene
    wire_gate_demo& scene;
    shell_state_t& floor_shell;  // its root holds floor
    floor_demo_t& floor;
    window_size_t window;
};

// One whole frame of shell as the display callback draws it (shell/frame.h),
// the GPU's work included (glFinish before the clock is read), in ms.
double timed_frame_ms(shell_state_t& shell);

// Puts the scene into draw mode `mode` with fog on or off through its own
// keys, then measures. The shell's frame function draws every frame.
frame_row_t measure_frames(frame_subjects_t& subjects, int mode, bool fog, const frame_options_t& options);

// Draws `count` frames of the scene (or of its floor) in the given settings
// after three untimed ones, and measures nothing: a run for a profiler.
// The counted frames are drawn inside draw_profiled_frames.
void profile_frames(frame_subjects_t& subjects, int mode, bool fog, bool floor, int count);
