#include "shell/keys.h"

#include "shell/clock.h"
#include "shell/demo.h"
#include "shell/shell_state.h"

#include <GL/freeglut.h>

#include <cctype>
#include <iostream>

namespace {

constexpr unsigned char escape_key = 27;

}  // namespace

void shell_key_down(shell_state_t& shell, unsigned char key, int x, int y) {
    if (demo_key_down(shell, key, x, y)) return;

    switch (std::tolower(key)) {
    case escape_key:
    case 'q': my_exit(shell, 0);
    case ' ': toggle_pause(shell); break;
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
    demo_key_up(shell, key, x, y);
}

void shell_special(shell_state_t& shell, int key, int, int) {
    switch (key) {
    case GLUT_KEY_LEFT: step_demo_time(shell, 1000, true); break;
    case GLUT_KEY_RIGHT: step_demo_time(shell, 1000, false); break;
    case GLUT_KEY_UP: step_demo_time(shell, 100, true); break;
    case GLUT_KEY_DOWN: step_demo_time(shell, 100, false); break;
    default:
        if (key >= GLUT_KEY_F1 && key <= GLUT_KEY_F8) break;  // reserved, silent
        std::cout << "special: " << key << std::endl;
        break;
    }
}
