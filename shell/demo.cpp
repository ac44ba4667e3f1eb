#include "shell/demo.h"

#include "framework/demo_root.h"
#include "scene/wire_gate_demo.h"
#include "shell/callbacks.h"
#include "shell/fixed_gl_state.h"
#include "shell/gl_ext.h"

#include <cstdlib>
#include <iostream>

namespace {

// Built before main, destroyed at process exit; its destructor deletes any
// object still owned (the exit routine and window close clear it earlier,
// while the GL context exists).
demo_root_t g_demo;

}  // namespace

void demo_init() {
    gl_ext_init();
    set_fixed_gl_state();
    // The scene needs the context current; the root owns it from here on.
    g_demo.add(new wire_gate_demo);
    g_demo.start();
    check_gl_errors("rebuild");  // textures and the first lattice
}

void demo_draw() { g_demo.show(); }

void demo_draw_overlay() { g_demo.show_overlay(); }

void demo_reshape(int width, int height) { g_demo.resize(width, height); }

bool demo_update(std::uint32_t msec) { return g_demo.play(msec); }

bool demo_key_down(unsigned char key, int x, int y) { return g_demo.key_down(key, x, y); }

bool demo_key_up(unsigned char key, int x, int y) { return g_demo.key_up(key, x, y); }

void demo_clear() { g_demo.clear(); }

void my_exit(int status) {
    std::cout << "my_exit(" << status << ")" << std::endl;
    g_demo.clear();
    check_gl_errors("exit");  // the scene's textures and lists are released
    std::cout << "demo scene cleared." << std::endl;
    check_for_leaks();
    std::exit(status);
}
