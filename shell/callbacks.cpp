#include "shell/callbacks.h"

#include "shell/demo.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"
#include "shell/toolkit_requests.h"
#include "shell/wall_clock.h"

#ifdef WIRE_GATE_GL_CHECK
#include "graphics/gl_error.h"
#endif
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

#include <GL/freeglut.h>

namespace {

// Every attribute group of OpenGL 1.1: whatever the scene changes, the next
// frame starts from the same state.
constexpr GLbitfield all_gl11_attribs = 0x000FFFFF;

void draw_shell_overlay() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    set_overlay_projection();
    if (g_show_fps) {
        count_frame();  // frames count only while their line shows
        draw_fps();
    }
    if (g_pause) draw_text_centered(512.0f, 512.0f, "- pause -");
    if (g_show_time) draw_time();
    glPopMatrix();
}

// The demo objects' overlay draws in normalised device coordinates.
void draw_demo_overlay() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    demo_draw_overlay();
    glPopMatrix();
}

}  // namespace

void display() {
    glPushAttrib(all_gl11_attribs);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_DEPTH_TEST);
    demo_draw();
    glDisable(GL_DEPTH_TEST);

    if (g_show_fps || g_pause || g_show_time) draw_shell_overlay();
    if (g_show_demo_overlay) draw_demo_overlay();

    glutSwapBuffers();
    glPopAttrib();
    check_gl_errors("frame");
}

void reshape(int width, int height) {
    // The scene sets the viewport and its projection itself.
    g_width = width;
    g_height = height;
    demo_reshape(width, height);
}

void idle() {
    const std::uint32_t now = wall_clock_msec();
    // Modulo 2^32 on both clocks: a step past the demo clock's top wraps to
    // its bottom and the open-ended demo goes on; only the root decides
    // when the demo is over (a step landing exactly on its last millisecond).
    g_demo_msec += now - g_last_time;
    if (!demo_update(g_demo_msec)) my_exit(0);
    request_redisplay();
    g_last_time = now;
}

void close_window() {
    demo_clear();
    check_gl_errors("exit");
    check_for_leaks();
}

void check_gl_errors([[maybe_unused]] const char* label) {
#ifdef WIRE_GATE_GL_CHECK
    // Each read clears one of the error flags GL may hold; the bound keeps a
    // context that fails every call from stalling the frame.
    for (int i = 0; i < 8 && libgr::CheckGLError(label); ++i) {
    }
#endif
}

void check_for_leaks() {
#ifdef __SANITIZE_ADDRESS__
    // At process exit the libraries' destructors unload Mesa's driver before
    // the sanitizer's own check runs, and the blocks the driver still held
    // would read as leaks of an unknown module. Checked here, every block
    // Mesa, X11 and freeglut keep is still reachable and only lost ones
    // are reported; the check at exit is then skipped.
    __lsan_do_leak_check();
#endif
}
