// The shell's keys: quit, pause, the overlay switches and the time steps.

#include "shell/callbacks.h"

#include "shell/demo.h"
#include "shell/shell_state.h"
#include "shell/toolkit_requests.h"
#include "shell/wall_clock.h"

#include <GL/freeglut.h>

#include <cctype>
#include <iostream>

namespace {

constexpr unsigned char escape_key = 27;

void toggle_pause() {
    g_pause = !g_pause;
    if (g_pause) {
        set_idle_callback(nullptr);
        request_redisplay();  // shows the pause label
    } else {
        // Restart the step from now, so the paused wall time never becomes
        // demo time.
        g_last_time = wall_clock_msec();
        set_idle_callback(idle);
    }
}

void step_demo_time(std::uint32_t delta_msec, bool backwards) {
    // Unsigned on purpose: stepping back past 0 wraps to the top of the range.
    if (backwards)
        g_demo_msec -= delta_msec;
    else
        g_demo_msec += delta_msec;
    request_redisplay();
}

}  // namespace

void keyboard(unsigned char key, int x, int y) {
    const bool consumed = demo_key_down(key, x, y);
    check_gl_errors("rebuild");  // the scene's settings keys rebuild the lattice
    if (consumed) return;

    switch (std::tolower(key)) {
    case escape_key:
    case 'q': my_exit(0);
    case ' ': toggle_pause(); break;
    case 'f': g_show_fps = !g_show_fps; break;
    case 'g': g_show_demo_overlay = !g_show_demo_overlay; break;
    case 't':
        g_show_time = !g_show_time;
        request_redisplay();
        break;
    default:
        // The key as received, not lowered.
        std::cout << "key: " << key << "(" << unsigned(key) << ")" << std::endl;
        break;
    }
}

void keyboard_up(unsigned char key, int x, int y) {
    // Reaches the demo whether or not the key-down was consumed, so a
    // thruster never stays on.
    demo_key_up(key, x, y);
}

void special(int key, int, int) {
    switch (key) {
    case GLUT_KEY_LEFT: step_demo_time(1000, true); break;
    case GLUT_KEY_RIGHT: step_demo_time(1000, false); break;
    case GLUT_KEY_UP: step_demo_time(100, true); break;
    case GLUT_KEY_DOWN: step_demo_time(100, false); break;
    default:
        if (key >= GLUT_KEY_F1 && key <= GLUT_KEY_F8) break;  // reserved, silent
        std::cout << "special: " << key << std::endl;
        break;
    }
}
