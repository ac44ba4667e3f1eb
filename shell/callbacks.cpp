#include "shell/callbacks.h"

#include "shell/checks.h"
#include "shell/clock.h"
#include "shell/demo.h"
#include "shell/frame.h"
#include "shell/keys.h"
#include "shell/record.h"
#include "shell/shell_state.h"

#include <GL/freeglut.h>

namespace {

// The one window's state; a callback runs with that window current.
shell_state_t& shell() { return *static_cast<shell_state_t*>(glutGetWindowData()); }

}  // namespace

void display() {
    // A timedemo captures its own frames only, so that every run writes the same.
    draw_frame(shell(), !shell().m_timedemo);
    shell().m_shown = true;
    check_gl_errors("frame");
}

void reshape(int width, int height) { resize_frame(shell(), width, height); }

void idle() { idle_step(shell()); }

void keyboard(unsigned char key, int x, int y) {
    shell_key_down(shell(), key, x, y);
    check_gl_errors("rebuild");  // the scene's settings keys rebuild the lattice
}

void keyboard_up(unsigned char key, int x, int y) { shell_key_up(shell(), key, x, y); }

void special(int key, int x, int y) { shell_special(shell(), key, x, y); }

void close_window() {
    record_end(shell());
    demo_clear(shell());
    check_gl_errors("exit");
    check_for_leaks();
}
