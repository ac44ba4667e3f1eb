#pragma once
// The benchmark's own window: the program's display mode (RGBA, double
// buffer, alpha, depth) at a requested size, with the toolkit's events
// handled between measurements rather than in glutMainLoop.

struct window_size_t {
    int width = 0;
    int height = 0;
};

// Creates the window and waits (up to timeout_s) until the toolkit reports
// its size; returns the size it got. The window's context is current.
window_size_t open_bench_window(int* argc, char** argv, int width, int height, double timeout_s);

// Handles whatever events the toolkit has queued; never waits.
void pump_events();
