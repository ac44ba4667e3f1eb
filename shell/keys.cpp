#include "shell/keys.h"

#include "shell/demo.h"
#include "shell/record.h"
#include "shell/shell_state.h"

#include <GL/freeglut.h>

#include <cctype>
#include <iostream>

namespace {

constexpr unsigned char escape_key = 27;

}  // namespace

void shell_set_pause(shell_state_t& shell, bool paused) {
    shell.m_pause = paused;
    if (paused) {
        shell.m_services.run_idle(false);
        shell.m_services.post_redisplay();  // shows the pause label
    } else {
        // Restart the step from now, so the paused wall time never becomes
        // demo time.
        shell.m_last_time = shell.m_services.wall_msec();
        shell.m_services.run_idle(true);
    }
}

void shell_key_down(shell_state_t& shell, unsigned char key, int x, int y) {
    if (demo_key_down(shell, key, x, y)) {
        record_key(shell, flight_event_t::press, key);
        return;
    }

    switch (std::tolower(key)) {
    case escape_key:
    case 'q': my_exit(shell, 0);
    case ' ':
        record_key(shell, flight_event_t::press, key);
        shell_set_pause(shell, !shell.m_pause);
        break;
    case 'f': shell.m_show_fps = !shell.m_show_fps; break;
    case 'g': shell.m_show_demo_overlay = !shell.m_show_demo_overlay; break;
    case 't':
        shell.m_show_time = !shell.m_show_time;
        shell.m_services.post_redisplay();
        break;
    default:
        // The key as received, not lowered.
        std::cout << "key: " << key << "(" << unsigned(key) << ")" << std::endl;
        break;
    }
}

void shell_key_up(shell_state_t& shell, unsigned char key, int x, int y) {
    // So a thruster never stays on.
    if (demo_key_up(shell, key, x, y)) record_key(shell, flight_event_t::release, key);
}

void shell_time_key(shell_state_t& shell, time_key_t key) {
    record_time_key(shell, key);
    // Unsigned on purpose: stepping back past 0 wraps to the top of the range.
    shell.m_demo_msec += static_cast<std::uint32_t>(time_key_step(key));
    shell.m_services.post_redisplay();
}

void shell_special(shell_state_t& shell, int key, int, int) {
    switch (key) {
    case GLUT_KEY_LEFT: shell_time_key(shell, time_key_t::left); break;
    case GLUT_KEY_RIGHT: shell_time_key(shell, time_key_t::right); break;
    case GLUT_KEY_UP: shell_time_key(shell, time_key_t::up); break;
    case GLUT_KEY_DOWN: shell_time_key(shell, time_key_t::down); break;
    default:
        if (key >= GLUT_KEY_F1 && key <= GLUT_KEY_F8) break;  // reserved, silent
        std::cout << "special: " << key << std::endl;
        break;
    }
}
