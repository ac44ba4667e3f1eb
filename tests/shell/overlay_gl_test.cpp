// The overlay projection as GL holds it.

#include "shell/overlay.h"
#include "shell/shell_state.h"

#include "gl_test_context.h"

#include <GL/gl.h>

#include <array>
#include <cmath>

namespace {

using OverlayGLTest = wg_test::GLTest;

TEST_F(OverlayGLTest, ProjectionSpans1024UnitsAcrossWithSquareUnits) {
    const struct {
        int width, height;
        float bottom, top;
    } windows[] = {
        {1920, 1080, 224.0f, 800.0f},
        {1024, 1024, 0.0f, 1024.0f},
        {0, 0, 128.0f, 896.0f},  // not reshaped yet: 4:3, and no division by zero
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.width);
        g_width = w.width;
        g_height = w.height;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glScalef(3.0f, 7.0f, 11.0f);  // whatever was there must not matter
        set_overlay_projection();
        std::array<float, 16> m{};  // column-major
        glGetFloatv(GL_PROJECTION_MATRIX, m.data());
        glLoadIdentity();
        EXPECT_FLOAT_EQ(g_overlay_bottom, w.bottom);
        EXPECT_FLOAT_EQ(g_overlay_top, w.top);

        // Overlay points at depth 0 in normalised device coordinates.
        const struct {
            float x, y, ndc_x, ndc_y;
        } points[] = {{0, w.bottom, -1, -1}, {1024, w.top, 1, 1}, {512, 512, 0, 0}};
        for (const auto& p : points) {
            const double w_clip = m[3] * p.x + m[7] * p.y + m[15];
            EXPECT_NEAR((m[0] * p.x + m[4] * p.y + m[12]) / w_clip, p.ndc_x, 1e-5);
            EXPECT_NEAR((m[1] * p.x + m[5] * p.y + m[13]) / w_clip, p.ndc_y, 1e-5);
            EXPECT_LT(std::abs((m[2] * p.x + m[6] * p.y + m[14]) / w_clip), 1.0) << "between near and far";
        }
    }
    g_width = 1920;
    g_height = 1080;
    set_overlay_projection();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    EXPECT_FLOAT_EQ(fps_line_origin().x, 100.0f);
    EXPECT_FLOAT_EQ(fps_line_origin().y, 234.0f);
    EXPECT_FLOAT_EQ(time_line_origin().x, 100.0f);
    EXPECT_FLOAT_EQ(time_line_origin().y, 780.0f);
}

}  // namespace
