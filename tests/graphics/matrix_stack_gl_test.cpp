// Matrix-stack records and grMatrixGuard: plain push/pop while checking is
// off, snapshots in memory when the GL stack is full.

#include "graphics/guards_matrix.h"
#include "shell/gl_ext.h"

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
        glLoadIdentity();
        wg_test::GLTest::TearDown();
    }
};

}  // namespace

TEST_F(MatrixStackGLTest, RecordsExistForTheFourModes) {
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_mode, static_cast<GLenum>(GL_MODELVIEW));
    EXPECT_EQ(FindMatrixStack(GL_PROJECTION)->m_matrixQuery, static_cast<GLenum>(GL_PROJECTION_MATRIX));
    EXPECT_EQ(FindMatrixStack(GL_TEXTURE)->m_depthQuery, static_cast<GLenum>(GL_TEXTURE_STACK_DEPTH));
    EXPECT_EQ(FindMatrixStack(GL_COLOR)->m_maxDepthQuery, static_cast<GLenum>(GL_MAX_COLOR_MATRIX_STACK_DEPTH));
}

TEST_F(MatrixStackGLTest, CheckingReadsTheLimitsAndOffClearsThem) {
    EXPECT_FALSE(IsMatrixStackCheck());
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, 0);

    SetMatrixStackCheck(true);
    EXPECT_TRUE(IsMatrixStackCheck());
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, get_int(GL_MAX_MODELVIEW_STACK_DEPTH));
    EXPECT_EQ(FindMatrixStack(GL_PROJECTION)->m_maxDepth, get_int(GL_MAX_PROJECTION_STACK_DEPTH));
    EXPECT_EQ(FindMatrixStack(GL_TEXTURE)->m_maxDepth, get_int(GL_MAX_TEXTURE_STACK_DEPTH));
    // Without the imaging subset the colour limit is not queried (the
    // fixture would see GL_INVALID_ENUM otherwise).
    if (!gl_ext_supported("GL_ARB_imaging")) {
        EXPECT_EQ(FindMatrixStack(GL_COLOR)->m_maxDepth, 0);
    }

    SetMatrixStackCheck(false);
    EXPECT_FALSE(IsMatrixStackCheck());
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, 0);
    EXPECT_EQ(FindMatrixStack(GL_TEXTURE)->m_maxDepth, 0);
}

TEST_F(MatrixStackGLTest, ModeZeroMeansTheCurrentMode) {
    glMatrixMode(GL_PROJECTION);
    EXPECT_EQ(FindMatrixStack(0), FindMatrixStack(GL_PROJECTION));
    EXPECT_EQ(FindMatrixStack(0)->m_mode, static_cast<GLenum>(GL_PROJECTION));
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(MatrixStackGLTest, UnknownModeFallsBackToModelviewWithAMessage) {
    testing::internal::CaptureStdout();
    grMatrixStack* stack = FindMatrixStack(0x1a2b);
    std::cout << 255 << std::endl;  // later output is decimal again
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(stack, FindMatrixStack(GL_MODELVIEW));
    EXPECT_EQ(out, "1a2b: unknown enum! fall back to modelview.\n255\n");
}

TEST_F(MatrixStackGLTest, GuardPushesAndPopsInItsModeAndRestoresTheMode) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    {
        grMatrixGuard guard(GL_PROJECTION);
        EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
        EXPECT_EQ(get_int(GL_PROJECTION_STACK_DEPTH), 2);
        glTranslatef(1.0f, 2.0f, 3.0f);
    }
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(get_int(GL_PROJECTION_STACK_DEPTH), 1);
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_EQ(p[12], 0.0f);
}

TEST_F(MatrixStackGLTest, FullStackFallsBackToSnapshotsLastInFirstOut) {
    SetMatrixStackCheck(true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLint max_depth = get_int(GL_MAX_MODELVIEW_STACK_DEPTH);
    for (GLint d = 1; d < max_depth; ++d) glPushMatrix();
    ASSERT_EQ(get_int(GL_MODELVIEW_STACK_DEPTH), max_depth);

    glTranslatef(1.0f, 0.0f, 0.0f);
    const auto first = modelview();
    {
        grMatrixGuard outer(GL_MODELVIEW);
        EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_snapshots.size(), 1u);
        glTranslatef(0.0f, 5.0f, 0.0f);
        const auto second = modelview();
        {
            grMatrixGuard inner(GL_MODELVIEW);
            EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_snapshots.size(), 2u);
            glLoadIdentity();
            glScalef(2.0f, 2.0f, 2.0f);
        }
        EXPECT_EQ(modelview(), second);
        EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_snapshots.size(), 1u);
    }
    EXPECT_EQ(modelview(), first);
    EXPECT_TRUE(FindMatrixStack(GL_MODELVIEW)->m_snapshots.empty());
    EXPECT_EQ(get_int(GL_MODELVIEW_STACK_DEPTH), max_depth);  // never pushed past the limit

    for (GLint d = 1; d < max_depth; ++d) glPopMatrix();
}

TEST_F(MatrixStackGLTest, SnapshotGuardRestoresInItsOwnModeFromAnother) {
    SetMatrixStackCheck(true);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    const GLint max_depth = get_int(GL_MAX_TEXTURE_STACK_DEPTH);
    for (GLint d = 1; d < max_depth; ++d) glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    {
        grMatrixGuard guard(GL_TEXTURE);
        glTranslatef(4.0f, 0.0f, 0.0f);
    }
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
    GLfloat t[16];
    glGetFloatv(GL_TEXTURE_MATRIX, t);
    EXPECT_EQ(t[12], 0.0f);
    glMatrixMode(GL_TEXTURE);
    for (GLint d = 1; d < max_depth; ++d) glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
