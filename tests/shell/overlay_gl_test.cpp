// The overlay projection as GL holds it.
#include <GL/gl.h>

#include "gl_test_context.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"

#include <array>
#include <tuple>

using OverlayGLTest = wg_test::GLTest;

TEST_F(OverlayGLTest, ProjectionSpans1024UnitsAcrossWithSquareUnits) {
    // Window size, the overlay's bottom and top edges; a window not reshaped yet counts as 4:3.
    const std::tuple<int, int, float, float> windows[] = {
        {1920, 1080, 224.0f, 800.0f}, {1024, 1024, 0.0f, 1024.0f}, {0, 0, 128.0f, 896.0f}};
    for (const auto& [width, height, bottom, top] : windows) {
        shell_state_t shell;
        shell.m_width = width, shell.m_height = height;
        glMatrixMode(GL_PROJECTION);
        glScalef(3.0f, 7.0f, 11.0f);  // whatever was there must not matter
        set_overlay_projection(shell);
        GLfloat m[16];  // column-major
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        glLoadIdentity();
        EXPECT_EQ(shell.m_overlay_bottom, bottom) << width;
        EXPECT_EQ(shell.m_overlay_top, top) << width;
        // The window's corners and centre, at overlay depth 0, in normalised device coordinates.
        for (const auto [x, y, ndc_x, ndc_y] :
             {std::array<float, 4>{0, bottom, -1, -1}, {1024, top, 1, 1}, {512, 512, 0, 0}}) {
            const double clip_w = m[3] * x + m[7] * y + m[15];
            EXPECT_NEAR((m[0] * x + m[4] * y + m[12]) / clip_w, ndc_x, 1e-5) << width;
            EXPECT_NEAR((m[1] * x + m[5] * y + m[13]) / clip_w, ndc_y, 1e-5) << width;
        }
    }
}
