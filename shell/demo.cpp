#include "shell/demo.h"

#include "framework/demo_root.h"
#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"
#include "shell/callbacks.h"
#include "shell/fixed_gl_state.h"
#include "shell/shell_host.h"

#include <cstdlib>
#include <iostream>

namespace {

// Built before main, destroyed at process exit; its destructor deletes any
// object still owned (the exit routine and window close clear it earlier,
// while the GL context exists).
demo_root_t g_demo;

demo_root_t* s_root = &g_demo;  // the root the functions below forward to

}  // namespace

void demo_use_root(demo_root_t* root) { s_root = root != nullptr ? root : &g_demo; }

void demo_init() {
    gl_ext_init();
    set_fixed_gl_state();
    // The scene needs the context current; the root owns it from here on.
    s_root->add(new wire_gate_demo(shell_host()));
    s_root->start();
    check_gl_errors("rebuild");  // textures and the first lattice
}

void demo_draw() { s_root->show(); }

void demo_draw_overlay() { s_root->show_overlay(); }

void demo_reshape(int width, int height) { s_root->resize(width, height); }

bool demo_update(std::uint32_t msec) { return s_root->play(msec); }

bool demo_key_down(unsigned char key, int x, int y) { return s_root->key_down(key, x, y); }

bool demo_key_up(unsigned char key, int x, int y) { return s_root->key_up(key, x, y); }

void demo_clear() { s_root->clear(); }

void my_exit(int status) {
    std::cout << "my_exit(" << status << ")" << std::endl;
    s_root->clear();
    check_gl_errors("exit");  // the scene's textures and lists are released
    std::cout << "demo scene cleared." << std::endl;
    check_for_leaks();
    std::exit(status);
}
