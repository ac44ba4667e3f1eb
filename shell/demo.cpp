#include "shell/demo.h"

#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"
#include "shell/checks.h"
#include "shell/fixed_gl_state.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

#include <cstdlib>
#include <iostream>

void demo_init(shell_state_t& shell) {
    gl_ext_init();
    set_fixed_gl_state();
    // The scene needs the context current; the root owns it from here on.
    shell.m_host = make_shell_host(shell);
    shell.m_demo.add(new wire_gate_demo(*shell.m_host));
    shell.m_demo.start();
    check_gl_errors("rebuild");  // textures and the first lattice
}

void demo_draw(shell_state_t& shell) { shell.m_demo.show(); }

void demo_draw_overlay(shell_state_t& shell) { shell.m_demo.show_overlay(); }

void demo_reshape(shell_state_t& shell, int width, int height) { shell.m_demo.resize(width, height); }

bool demo_update(shell_state_t& shell, std::uint32_t msec) { return shell.m_demo.play(msec); }

bool demo_key_down(shell_state_t& shell, unsigned char key, int x, int y) { return shell.m_demo.key_down(key, x, y); }

bool demo_key_up(shell_state_t& shell, unsigned char key, int x, int y) { return shell.m_demo.key_up(key, x, y); }

void demo_clear(shell_state_t& shell) { shell.m_demo.clear(); }

void my_exit(shell_state_t& shell, int status) {
    std::cout << "my_exit(" << status << ")" << std::endl;
    shell.m_demo.clear();
    check_gl_errors("exit");  // the scene's textures and lists are released
    std::cout << "demo scene cleared." << std::endl;
    check_for_leaks();
    std::exit(status);
}
