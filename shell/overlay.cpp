#include "shell/overlay.h"

#include "shell/shell_state.h"

#include <GL/freeglut.h>

#include <cstring>
#include <string>

namespace {

void* const overlay_font = GLUT_BITMAP_HELVETICA_10;
constexpr float line_spacing = 10.0f;  // overlay units per text line
constexpr float fallback_aspect = 0.75f;

void draw_white(float x, float y, const std::string& text) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    draw_text(x, y, text.c_str());
}

}  // namespace

void set_overlay_projection(shell_state_t& shell) {
    const float a =
        (shell.m_width <= 0 || shell.m_height <= 0) ? fallback_aspect : float(shell.m_height) / float(shell.m_width);
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -a, a, 1.0, 1000.0);
    // Depth 0 lies 512 units in front of the eye, where the near plane's
    // width of 2 has grown to 1024 units; (512, 512) is on the axis.
    glTranslatef(-512.0f, -512.0f, -512.0f);
    shell.m_overlay_bottom = 512.0f - 512.0f * a;
    shell.m_overlay_top = 512.0f + 512.0f * a;
}

void draw_text(float x, float y, const char* text) {
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            y -= line_spacing;
            glRasterPos2f(x, y);
        } else {
            glutBitmapCharacter(overlay_font, static_cast<unsigned char>(*c));
        }
    }
}

void draw_text_centered(float x, float y, const char* text) {
    // A nominal 10 units per character, halved in whole numbers, so odd
    // totals round down: "- pause -" starts at 467.
    float start = x - float((std::strlen(text) * 10) / 2);
    for (const char* c = text; *c != '\0'; ++c) {
        const int ch = static_cast<unsigned char>(*c);
        // Placed per character, so a glyph whose start lies off screen does
        // not invalidate the raster position for the rest.
        glRasterPos2f(start, y);
        glutBitmapCharacter(overlay_font, ch);
        start += float(glutBitmapWidth(overlay_font, ch));  // pixels taken as units
    }
}

void count_frame(shell_state_t& shell) {
    ++shell.m_fps_frames;
    const std::uint32_t second = shell.m_services.wall_msec() / 1000u;
    if (second != shell.m_fps_second) {
        // The frame that enters a new second is counted in the value published.
        shell.m_fps_second = second;
        shell.m_fps = shell.m_fps_frames;
        shell.m_fps_frames = 0;
    }
}

void draw_fps(const shell_state_t& shell) {
    draw_white(100.0f, shell.m_overlay_bottom + 10.0f, std::to_string(shell.m_fps) + " fps");
}

void draw_time(const shell_state_t& shell) {
    draw_white(100.0f, shell.m_overlay_top - 20.0f, std::to_string(shell.m_demo_msec) + " msec");
}
