// The value types against what Mesa's fixed-function GL holds: rotation and
// frustum matrices, and the matrix and colour conveniences.

#include <GL/gl.h>

#include <array>

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
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

mtx3w read(GLenum which) {
    mtx3w m;
    glGetFloatv(which, m.m);
    return m;
}

void expect_matrix(const mtx3w& got, const mtx3w& want, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(got.m[i], want.m[i], tolerance) << "entry " << i;
}

}  // namespace

TEST_F(ValuesGLTest, RotationMatrixMatchesGlRotatef) {
    const float angles[] = {0, 30, 90, -45, 180, 270, 123.4f, 359};
    const dir3 axes[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {1, 2, 3}, {-1, 0.5f, 2}, {0, 0, -4}};
    for (float a : angles) {
        for (const dir3& axis : axes) {
            SCOPED_TRACE(testing::Message() << "angle " << a << " axis " << axis.x << "," << axis.y << "," << axis.z);
            glLoadIdentity();
            glRotatef(a, axis.x, axis.y, axis.z);
            expect_matrix(to_mtx3w(rot3{a, axis}), read(GL_MODELVIEW_MATRIX), 2e-6f);
        }
    }
}

TEST_F(ValuesGLTest, ApplyFrustumMatchesGlFrustumForTheDefaultLens) {
    glMatrixMode(GL_PROJECTION);
    apply_frustum(to_projection(perspective{}));
    const mtx3w ours = read(GL_PROJECTION_MATRIX);
    glLoadIdentity();
    glFrustum(-0.08, 0.08, -0.06, 0.06, 0.1, 1000.1);
    expect_matrix(ours, read(GL_PROJECTION_MATRIX), 1e-5f);
}

TEST_F(ValuesGLTest, ConveniencesSetTheModelviewAndTheColour) {
    translate(pos3{1, 2, 3});
    rotate_gl(rot3{90, dir3{0, 0, 1}});
    expect_matrix(read(GL_MODELVIEW_MATRIX), mtx3w{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}}, 1e-6f);

    colour(col3a{0.25f, 0.5f, 0.75f, 0.125f});
    std::array<float, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    EXPECT_EQ(c, (std::array<float, 4>{0.25f, 0.5f, 0.75f, 0.125f}));
    glColor4f(1, 1, 1, 1);
}
