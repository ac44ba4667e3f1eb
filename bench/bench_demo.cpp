#include "bench/bench_demo.h"

#include "framework/demo_root.h"
#include "scene/wire_gate_demo.h"
#include "shell/demo.h"
#include "shell/fixed_gl_state.h"
#include "shell/gl_ext.h"

#include <cstdlib>
#include <iostream>

namespace {

demo_root_t* g_root = nullptr;  // the root the shell's callbacks reach

}  // namespace

void bench_select_root(demo_root_t* root) { g_root = root; }

// Not used by the benchmark, which times each of these steps on its own;
// kept so the module offers the whole interface the shell expects.
void demo_init() {
    gl_ext_init();
    set_fixed_gl_state();
    if (g_root != nullptr) {
        g_root->add(new wire_gate_demo);
        g_root->start();
    }
}

void demo_draw() {
    if (g_root != nullptr) g_root->show();
}

void demo_draw_overlay() {
    if (g_root != nullptr) g_root->show_overlay();
}

void demo_reshape(int width, int height) {
    if (g_root != nullptr) g_root->resize(width, height);
}

bool demo_update(std::uint32_t msec) { return g_root != nullptr && g_root->play(msec); }

bool demo_key_down(unsigned char key, int x, int y) { return g_root != nullptr && g_root->key_down(key, x, y); }

bool demo_key_up(unsigned char key, int x, int y) { return g_root != nullptr && g_root->key_up(key, x, y); }

void demo_clear() {
    if (g_root != nullptr) g_root->clear();
}

void my_exit(int status) {
    std::cerr << "wire_gate_bench: exit requested (" << status << ") before the run was complete" << std::endl;
    demo_clear();
    std::exit(status);
}
