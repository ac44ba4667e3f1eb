// Matrix-stack records and grMatrixGuard: snapshots in memory when the GL
// stack is full and checking is on.

#include "graphics/guards_matrix.h"

#include "gl_test_context.h"

#include <array>
#include <iostream>
#include <string>

using namespace libgr;

namespace {

std::array<GLfloat, 16> modelview() {
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

class MatrixStackGLTest : public wg_test::GLTest {
protected:
    void TearDown() override {
        SetMatrixStackCheck(false);
        glMatrixMode(GL_MODELVIEW);
        wg_test::GLTest::TearDown();
    }
};

}  // namespace

TEST_F(MatrixStackGLTest, CheckingReadsTheLimitsAndOffClearsThem) {
    EXPECT_FALSE(IsMatrixStackCheck());
    SetMatrixStackCheck(true);  // Mesa has no colour matrix: must not raise an error
    EXPECT_TRUE(IsMatrixStackCheck());
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, get_int(GL_MAX_MODELVIEW_STACK_DEPTH));
    EXPECT_EQ(FindMatrixStack(GL_TEXTURE)->m_maxDepth, get_int(GL_MAX_TEXTURE_STACK_DEPTH));
    SetMatrixStackCheck(false);
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, 0);
}

TEST_F(MatrixStackGLTest, ModeZeroMeansTheCurrentMode) {
    glMatrixMode(GL_PROJECTION);
    EXPECT_EQ(FindMatrixStack(0)->m_mode, static_cast<GLenum>(GL_PROJECTION));
}

TEST_F(MatrixStackGLTest, UnknownModeFallsBackToModelviewWithAMessage) {
    testing::internal::CaptureStdout();
    grMatrixStack* stack = FindMatrixStack(0x1a2b);
    std::cout << 255 << std::endl;  // later output is decimal again
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1a2b: unknown enum! fall back to modelview.\n255\n");
    EXPECT_EQ(stack, FindMatrixStack(GL_MODELVIEW));
}

TEST_F(MatrixStackGLTest, FullStackFallsBackToSnapshotsLastInFirstOut) {
    SetMatrixStackCheck(true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLint max_depth = get_int(GL_MAX_MODELVIEW_STACK_DEPTH);
    for (GLint d = 1; d < max_depth; ++d) glPushMatrix();
    glTranslatef(1.0f, 0.0f, 0.0f);
    const auto first = modelview();
    glMatrixMode(GL_PROJECTION);
    {
        grMatrixGuard outer(GL_MODELVIEW);
        glTranslatef(0.0f, 5.0f, 0.0f);
        const auto second = modelview();
        {
            grMatrixGuard inner(GL_MODELVIEW);
            EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_snapshots.size(), 2u);
            glLoadIdentity();
        }
        EXPECT_EQ(modelview(), second);
    }
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(modelview(), first);
    EXPECT_TRUE(FindMatrixStack(GL_MODELVIEW)->m_snapshots.empty());
    EXPECT_EQ(get_int(GL_MODELVIEW_STACK_DEPTH), max_depth);  // never pushed past the limit
    glMatrixMode(GL_MODELVIEW);
    for (GLint d = 1; d < max_depth; ++d) glPopMatrix();
    glLoadIdentity();
}
