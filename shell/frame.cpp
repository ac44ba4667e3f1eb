#include "shell/frame.h"

#include "shell/demo.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"

#include <GL/gl.h>

namespace {

// Every attribute group of OpenGL 1.1.
constexpr GLbitfield all_gl11_attribs = 0x000FFFFF;

void draw_shell_overlay(shell_state_t& shell) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    set_overlay_projection(shell);
    if (shell.m_show_fps) {
        count_frame(shell);  // frames count only while their line shows
        draw_fps(shell);
    }
    if (shell.m_pause) draw_text_centered(512.0f, 512.0f, "- pause -");
    if (shell.m_show_time) draw_time(shell);
    glPopMatrix();
}

// The demo objects' overlay draws in normalised device coordinates.
void draw_demo_overlay(shell_state_t& shell) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    demo_draw_overlay(shell);
    glPopMatrix();
}

}  // namespace

void render_frame(shell_state_t& shell) {
    glPushAttrib(all_gl11_attribs);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_DEPTH_TEST);
    demo_draw(shell);
    glDisable(GL_DEPTH_TEST);

    if (shell.m_show_fps || shell.m_pause || shell.m_show_time) draw_shell_overlay(shell);
    if (shell.m_show_demo_overlay) draw_demo_overlay(shell);
    glPopAttrib();
}

void resize_frame(shell_state_t& shell, int width, int height) {
    shell.m_shown = false;
    shell.m_width = width;
    shell.m_height = height;
    demo_reshape(shell, width, height);
}

void draw_frame(shell_state_t& shell, bool captured) {
    render_frame(shell);
    if (captured && shell.m_capture) shell.m_capture->capture(shell.m_width, shell.m_height);
    shell.m_services.swap_buffers();
}
