#include "shell/overlay.h"

#include "shell/shell_state.h"
#include "shell/wall_clock.h"

#include <GL/freeglut.h>

#include <cstring>

std::uint32_t g_fps_second = 0;
std::uint32_t g_fps_frames = 0;
std::uint32_t g_fps = 0;
float g_overlay_bottom = 0.0f;
float g_overlay_top = 0.0f;

namespace {

void* const overlay_font = GLUT_BITMAP_HELVETICA_10;
constexpr float line_spacing = 10.0f;  // overlay units per text line
constexpr float fallback_aspect = 0.75f;

}  // namespace

float overlay_aspect() {
    if (g_width <= 0 || g_height <= 0) return fallback_aspect;
    return float(g_height) / float(g_width);
}

void set_overlay_projection() {
    const float a = overlay_aspect();
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -a, a, 1.0, 1000.0);
    // Depth 0 lies 512 units in front of the eye, where the near plane's
    // width of 2 has grown to 1024 units; (512, 512) is on the axis.
    glTranslatef(-512.0f, -512.0f, -512.0f);
    g_overlay_bottom = 512.0f - 512.0f * a;
    g_overlay_top = 512.0f + 512.0f * a;
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

float centered_text_start(float x, std::size_t length) {
    // A nominal 10 units per character, halved in whole numbers, so odd
    // totals round down: "- pause -" starts at 467.
    return x - float((length * 10) / 2);
}

void draw_text_centered(float x, float y, const char* text) {
    float start = centered_text_start(x, std::strlen(text));
    for (const char* c = text; *c != '\0'; ++c) {
        const int ch = static_cast<unsigned char>(*c);
        // Placed per character, so a glyph whose start lies off screen does
        // not invalidate the raster position for the rest.
        glRasterPos2f(start, y);
        glutBitmapCharacter(overlay_font, ch);
        start += float(glutBitmapWidth(overlay_font, ch));  // pixels taken as units
    }
}

void count_frame() {
    ++g_fps_frames;
    const std::uint32_t second = wall_clock_msec() / 1000u;
    if (second != g_fps_second) {
        // The frame that enters a new second is counted in the value published.
        g_fps_second = second;
        g_fps = g_fps_frames;
        g_fps_frames = 0;
    }
}

overlay_point_t fps_line_origin() { return {100.0f, g_overlay_bottom + 10.0f}; }

overlay_point_t time_line_origin() { return {100.0f, g_overlay_top - 20.0f}; }

std::string fps_text() { return std::to_string(g_fps) + " fps"; }

std::string time_text() { return std::to_string(g_demo_msec) + " msec"; }

void draw_fps() {
    const overlay_point_t at = fps_line_origin();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    draw_text(at.x, at.y, fps_text().c_str());
}

void draw_time() {
    const overlay_point_t at = time_line_origin();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    draw_text(at.x, at.y, time_text().c_str());
}
