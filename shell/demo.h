#pragma once
// The demo module: the only code that touches the global demo root. Each
// function forwards to it (framework/demo_root.h), or to the root handed to
// demo_use_root.

#include <cstdint>

class demo_root_t;

// Makes the module forward to another root (the benchmark's, a test's); null
// gives it back the global one. The caller keeps ownership of the root.
void demo_use_root(demo_root_t* root);

// Start-up of the demo side: extension loader, fixed GL state, the scene.
void demo_init();
void demo_draw();
void demo_draw_overlay();
void demo_reshape(int width, int height);
// msec: demo time. False means the demo is over.
bool demo_update(std::uint32_t msec);
// True when the demo consumed the key.
bool demo_key_down(unsigned char key, int x, int y);
bool demo_key_up(unsigned char key, int x, int y);
// Deletes every demo object now (needs the GL context they were made in).
void demo_clear();
// The exit routine: reports, deletes the demo objects, ends the process.
[[noreturn]] void my_exit(int status);
