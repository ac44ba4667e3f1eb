// The overlay projection as GL holds it, and the fixed start-up GL state.

#include "shell/fixed_gl_state.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"

#include "gl_test_context.h"

#include <GL/gl.h>

#include <array>
#include <cmath>

namespace {

struct ndc_t {
    double x, y, z;
};

class OverlayGLTest : public wg_test::GLTest {
protected:
    // Sets the overlay projection for a window of the given size and keeps
    // the matrix GL ends up holding.
    void project_for(int width, int height)
    {
        g_width = width;
        g_height = height;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glScalef(3.0f, 7.0f, 11.0f);  // whatever was there must not matter
        set_overlay_projection();
        glGetFloatv(GL_PROJECTION_MATRIX, m_matrix.data());
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }

    // Normalised device coordinates of an overlay point at depth 0.
    ndc_t to_ndc(float x, float y) const
    {
        const auto& m = m_matrix;  // column-major
        const double cx = m[0] * x + m[4] * y + m[12];
        const double cy = m[1] * x + m[5] * y + m[13];
        const double cz = m[2] * x + m[6] * y + m[14];
        const double cw = m[3] * x + m[7] * y + m[15];
        return {cx / cw, cy / cw, cz / cw};
    }

    std::array<float, 16> m_matrix{};
};

TEST_F(OverlayGLTest, FullHdWindowSpansY224To800)
{
    project_for(1920, 1080);
    EXPECT_FLOAT_EQ(g_overlay_bottom, 224.0f);
    EXPECT_FLOAT_EQ(g_overlay_top, 800.0f);

    const ndc_t bottom_left = to_ndc(0.0f, 224.0f);
    EXPECT_NEAR(bottom_left.x, -1.0, 1e-5);
    EXPECT_NEAR(bottom_left.y, -1.0, 1e-5);
    const ndc_t top_right = to_ndc(1024.0f, 800.0f);
    EXPECT_NEAR(top_right.x, 1.0, 1e-5);
    EXPECT_NEAR(top_right.y, 1.0, 1e-5);
    const ndc_t centre = to_ndc(512.0f, 512.0f);
    EXPECT_NEAR(centre.x, 0.0, 1e-6);
    EXPECT_NEAR(centre.y, 0.0, 1e-6);
    EXPECT_GT(centre.z, -1.0) << "depth 0 lies between the near and far planes";
    EXPECT_LT(centre.z, 1.0);
}

TEST_F(OverlayGLTest, FpsAndTimeLinesSitNearTheBottomAndTopEdges)
{
    project_for(1920, 1080);
    const overlay_point_t fps = fps_line_origin();
    EXPECT_FLOAT_EQ(fps.x, 100.0f);
    EXPECT_FLOAT_EQ(fps.y, 234.0f);
    const overlay_point_t time = time_line_origin();
    EXPECT_FLOAT_EQ(time.x, 100.0f);
    EXPECT_FLOAT_EQ(time.y, 780.0f);

    // In pixels from the bottom-left corner: 18.75 up and 37.5 down.
    const ndc_t f = to_ndc(fps.x, fps.y);
    EXPECT_NEAR((f.x + 1.0) / 2.0 * 1920.0, 187.5, 1e-3);
    EXPECT_NEAR((f.y + 1.0) / 2.0 * 1080.0, 18.75, 1e-3);
    const ndc_t t = to_ndc(time.x, time.y);
    EXPECT_NEAR((t.y + 1.0) / 2.0 * 1080.0, 1080.0 - 37.5, 1e-3);
}

TEST_F(OverlayGLTest, SquareWindowSpansZeroTo1024)
{
    project_for(1024, 1024);
    EXPECT_FLOAT_EQ(g_overlay_bottom, 0.0f);
    EXPECT_FLOAT_EQ(g_overlay_top, 1024.0f);
    const ndc_t corner = to_ndc(0.0f, 0.0f);
    EXPECT_NEAR(corner.x, -1.0, 1e-5);
    EXPECT_NEAR(corner.y, -1.0, 1e-5);
}

TEST_F(OverlayGLTest, WindowNotYetReshapedGetsAFiniteFourByThreeProjection)
{
    project_for(0, 0);  // the fixture fails the test if glFrustum was refused
    EXPECT_FLOAT_EQ(g_overlay_bottom, 128.0f);
    EXPECT_FLOAT_EQ(g_overlay_top, 896.0f);
    for (float v : m_matrix)
        EXPECT_TRUE(std::isfinite(v));
    const ndc_t top_right = to_ndc(1024.0f, 896.0f);
    EXPECT_NEAR(top_right.x, 1.0, 1e-5);
    EXPECT_NEAR(top_right.y, 1.0, 1e-5);
}

TEST_F(OverlayGLTest, FixedStateIsSetWhateverCameBefore)
{
    glClearColor(0.2f, 0.3f, 0.4f, 0.5f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBlendFunc(GL_ONE, GL_ONE);

    set_fixed_gl_state();

    std::array<float, 4> clear{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    EXPECT_EQ(clear, (std::array<float, 4>{0.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    GLint env_mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env_mode);
    EXPECT_EQ(env_mode, GL_MODULATE);
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace
