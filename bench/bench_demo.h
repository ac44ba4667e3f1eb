#pragma once
// The benchmark's demo module: the functions of shell/demo.h, forwarding to
// whichever root the benchmark has selected, so the shell's own display
// callback draws the real scene or the floor with the same overlay, swap
// and attribute push and pop around it.

class demo_root_t;

// Selects the root every demo_* function forwards to (null: none).
void bench_select_root(demo_root_t* root);
