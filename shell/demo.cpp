#include "shell/demo.h"

#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"
#include "shell/checks.h"
#include "shell/fixed_gl_state.h"
#include "shell/record.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

// The HALL_MESH_* values the scene reads: the environment's, and where it
// sets none a replayed flight's.
env_lookup_t settings_lookup(const shell_state_t& shell) {
    if (!shell.m_replay) return std::getenv;
    return [settings = shell.m_replay->header().settings](const char* name) -> const char* {
        if (const char* set = std::getenv(name)) return set;
        for (int i = 0; i < 4; ++i)
            if (std::strcmp(name, flight_setting_names[i]) == 0) return settings[i].c_str();
        return nullptr;
    };
}

// The scene's joystick: a replayed flight's readings (none in a timedemo
// of a flight without a stick, which must draw the same every time), one
// that tells a recorded flight of every reading, or joystick 0 itself (null).
std::unique_ptr<joystick_device_t> flight_stick(shell_state_t& shell) {
    shell.m_replayed_stick = nullptr;
    if (shell.m_replay) {
        const flight_header_t& h = shell.m_replay->header();
        if (h.axes == 0 && h.buttons == 0 && !shell.m_timedemo) return nullptr;
        auto stick = std::make_unique<replayed_joystick_t>(h.axes, h.buttons);
        shell.m_replayed_stick = stick.get();
        return stick;
    }
    if (shell.m_record && shell.m_record_stick)
        return std::make_unique<recording_joystick_t>(
            std::move(shell.m_record_stick),
            [&shell](const std::vector<float>& axes, std::uint32_t buttons) { record_stick(shell, axes, buttons); });
    return nullptr;
}

wire_gate_demo* make_scene(shell_state_t& shell) {
    return new wire_gate_demo(*shell.m_host, settings_lookup(shell), flight_stick(shell));
}

}  // namespace

void demo_init(shell_state_t& shell) {
    gl_ext_init();
    set_fixed_gl_state();
    // The scene needs the context current; the root owns it from here on.
    shell.m_host = make_shell_host(shell);
    shell.m_demo.add(make_scene(shell));
    shell.m_demo.start();
    check_gl_errors("rebuild");  // textures and the first lattice
}

void demo_restart(shell_state_t& shell) {
    shell.m_demo.clear();
    wire_gate_demo* scene = make_scene(shell);
    scene->m_offset = 0;  // where start placed the first: the root is laid out once
    shell.m_demo.add(scene);
    shell.m_demo.resize(shell.m_width, shell.m_height);
    shell.m_scene_msec = 0;
    check_gl_errors("rebuild");
}

void demo_draw(shell_state_t& shell) { shell.m_demo.show(); }

void demo_draw_overlay(shell_state_t& shell) { shell.m_demo.show_overlay(); }

void demo_reshape(shell_state_t& shell, int width, int height) { shell.m_demo.resize(width, height); }

bool demo_update(shell_state_t& shell, std::uint32_t msec) {
    shell.m_scene_msec = msec;
    return shell.m_demo.play(msec);
}

void demo_update_or_exit(shell_state_t& shell, std::uint32_t msec) {
    if (!demo_update(shell, msec)) my_exit(shell, 0);
}

bool demo_key_down(shell_state_t& shell, unsigned char key, int x, int y) { return shell.m_demo.key_down(key, x, y); }

bool demo_key_up(shell_state_t& shell, unsigned char key, int x, int y) { return shell.m_demo.key_up(key, x, y); }

void demo_clear(shell_state_t& shell) { shell.m_demo.clear(); }

void my_exit(shell_state_t& shell, int status) {
    record_end(shell);
    std::cout << "my_exit(" << status << ")" << std::endl;
    shell.m_demo.clear();
    check_gl_errors("exit");  // the scene's textures and lists are released
    std::cout << "demo scene cleared." << std::endl;
    check_for_leaks();
    std::exit(status);
}
