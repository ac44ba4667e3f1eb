// The value types against what Mesa's fixed-function GL holds: rotation and
// frustum matrices, and the matrix and colour conveniences.

#include <GL/gl.h>

#include <gtest/gtest.h>

#include "gl_test_context.h"
#include "graphics/camera.h"
#include "graphics/values_gl.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

class ValuesGLTest : public wg_test::GLTest {
protected:
    void SetUp() override {
        wg_test::GLTest::SetUp();
        reset();
    }
    void TearDown() override {
        reset();
        glColor4f(1, 1, 1, 1);
        wg_test::GLTest::TearDown();
    }
    static void reset() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static mtx3w read(GLenum which) {
        mtx3w m;
        glGetFloatv(which, m.m);
        return m;
    }
};

}  // namespace

TEST_F(ValuesGLTest, RotationMatrixMatchesGlRotatef) {
    const float angles[] = {0, 30, 90, -45, 180, 270, 123.4f, 359};
    const dir3 axes[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {1, 2, 3}, {-1, 0.5f, 2}, {0, 0, -4}};
    for (float a : angles) {
        for (const dir3& axis : axes) {
            glLoadIdentity();
            glRotatef(a, axis.x, axis.y, axis.z);
            const mtx3w gl = read(GL_MODELVIEW_MATRIX);
            const mtx3w ours = to_mtx3w(rot3{a, axis});
            for (int i = 0; i < 16; ++i)
                EXPECT_NEAR(ours.m[i], gl.m[i], 2e-6f)
                    << "angle " << a << " axis " << axis.x << "," << axis.y << "," << axis.z << " entry " << i;
        }
    }
}

TEST_F(ValuesGLTest, ApplyFrustumLoadsTheDefaultLensFrustum) {
    const projection j = to_projection(perspective{});
    glMatrixMode(GL_PROJECTION);
    apply_frustum(j);
    const mtx3w ours = read(GL_PROJECTION_MATRIX);
    glLoadIdentity();
    glFrustum(-0.08, 0.08, -0.06, 0.06, 0.1, 1000.1);
    const mtx3w ref = read(GL_PROJECTION_MATRIX);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(ours.m[i], ref.m[i], 1e-5f) << "entry " << i;
    EXPECT_NEAR(ours.m[0], 0.1 / 0.08, 1e-5);   // 2n / (r - l)
    EXPECT_NEAR(ours.m[5], 0.1 / 0.06, 1e-5);   // 2n / (t - b)
    EXPECT_NEAR(ours.m[10], -1000.2 / 1000.0, 1e-6);
    EXPECT_EQ(ours.m[11], -1.0f);
    EXPECT_NEAR(ours.m[14], -2 * 1000.1 * 0.1 / 1000.0, 1e-6);
}

TEST_F(ValuesGLTest, TranslateAndRotateWrappersBuildTheModelview) {
    translate(pos3{1, 2, 3});
    rotate_gl(rot3{90, dir3{0, 0, 1}});
    const mtx3w m = read(GL_MODELVIEW_MATRIX);
    const mtx3w r = to_mtx3w(rot3{90, dir3{0, 0, 1}});
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_NEAR(m.m[i], r.m[i], 1e-6f) << "entry " << i;
    EXPECT_EQ(m.m[12], 1.0f);
    EXPECT_EQ(m.m[13], 2.0f);
    EXPECT_EQ(m.m[14], 3.0f);
    EXPECT_EQ(m.m[15], 1.0f);
}

TEST_F(ValuesGLTest, ColourSetsTheCurrentColour) {
    colour(col3a{0.25f, 0.5f, 0.75f, 0.125f});
    float c[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_EQ(c[0], 0.25f);
    EXPECT_EQ(c[1], 0.5f);
    EXPECT_EQ(c[2], 0.75f);
    EXPECT_EQ(c[3], 0.125f);
}
