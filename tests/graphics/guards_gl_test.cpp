// GL state guards restore what they found, and only what they changed; the
// matrix-stack records with their snapshot fallback; CheckGLError's line.

#include "gl_loader/gl_ext.h"
#include "graphics/gl_error.h"
#include "graphics/guards.h"

#include "gl_test_context.h"

#include <GL/glu.h>

#include <array>
#include <iostream>
#include <string>
#include <type_traits>

using namespace libgr;

template <class... G>
constexpr bool none_copyable = ((!std::is_copy_constructible_v<G> && !std::is_copy_assignable_v<G>)&&...);
static_assert(
    none_copyable<grEnableGuard, grDisableGuard, grMatrixModeGuard, grMatrixGuard, grActiveTextureGuard,
                  grDepthMaskGuard, grDepthFuncGuard, grLineWidthGuard, grColorMaskGuard, grViewportGuard,
                  grClearColorGuard, grPolygonModeGuard, grBlendFuncGuard, grAlphaFuncGuard, grPolygonOffsetGuard>);

namespace {

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

std::array<GLfloat, 16> modelview() {
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

class GuardsGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        gl_ext_init();
    }
    void TearDown() override {
        SetMatrixStackCheck(false);
        glMatrixMode(GL_MODELVIEW);
        wg_test::GLTest::TearDown();
    }
};

}  // namespace

TEST_F(GuardsGLTest, EnableGuardOnACapabilityAlreadyOnChangesNothing) {
    glDisable(GL_BLEND);
    {
        grEnableGuard blend(GL_BLEND);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glEnable(GL_BLEND);
    { grEnableGuard blend(GL_BLEND); }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    // Nothing saved, so a change made in its scope stays.
    {
        grEnableGuard blend(GL_BLEND);
        glDisable(GL_BLEND);
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(GuardsGLTest, NestedGuardsUnwindInReverse) {
    glMatrixMode(GL_MODELVIEW);
    glDepthFunc(GL_LESS);
    {
        grMatrixModeGuard outer(GL_PROJECTION);
        grDepthFuncGuard outer_func(GL_ALWAYS);
        {
            grMatrixModeGuard inner(GL_TEXTURE);
            grDepthFuncGuard inner_func(GL_EQUAL);
            grDisableGuard no_depth(GL_DEPTH_TEST);  // already off: no change
            EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_TEXTURE);
        }
        EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
        EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_ALWAYS);
    }
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(GuardsGLTest, DepthMaskGuardOnTheValueAlreadySetChangesNothing) {
    glDepthMask(GL_TRUE);
    {
        grDepthMaskGuard mask(GL_TRUE);
        glDepthMask(GL_FALSE);
    }  // nothing saved: this stays
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_FALSE);
    {
        grDepthMaskGuard writes(GL_TRUE);
        EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_TRUE);
    }
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_FALSE);
    glDepthMask(GL_TRUE);
}

TEST_F(GuardsGLTest, UnitViewportAndBlendGuardsRestoreTheirValues) {
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    glViewport(0, 0, 256, 256);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    {
        grActiveTextureGuard unit(GL_TEXTURE1);
        grActiveTextureGuard none(0);  // 0: stays on unit 1
        grViewportGuard viewport(1, 2, 30, 40);
        grBlendFuncGuard blend(GL_SRC_ALPHA, GL_ONE);
        EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
        EXPECT_TRUE(glIsEnabled(GL_BLEND) && get_int(GL_BLEND_SRC) == GL_SRC_ALPHA);
    }
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 256);
    EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ZERO);
}

TEST_F(GuardsGLTest, MatrixStackRecordsAndTheirLookUp) {
    EXPECT_FALSE(IsMatrixStackCheck());
    SetMatrixStackCheck(true);  // Mesa has no colour matrix: must not raise an error
    EXPECT_TRUE(IsMatrixStackCheck());
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, get_int(GL_MAX_MODELVIEW_STACK_DEPTH));
    EXPECT_EQ(FindMatrixStack(GL_TEXTURE)->m_maxDepth, get_int(GL_MAX_TEXTURE_STACK_DEPTH));
    SetMatrixStackCheck(false);
    EXPECT_EQ(FindMatrixStack(GL_MODELVIEW)->m_maxDepth, 0);

    glMatrixMode(GL_PROJECTION);
    EXPECT_EQ(FindMatrixStack(0)->m_mode, static_cast<GLenum>(GL_PROJECTION));
    testing::internal::CaptureStdout();
    grMatrixStack* stack = FindMatrixStack(0x1a2b);
    std::cout << 255 << std::endl;  // later output is decimal again
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1a2b: unknown enum! fall back to modelview.\n255\n");
    EXPECT_EQ(stack, FindMatrixStack(GL_MODELVIEW));
}

TEST_F(GuardsGLTest, FullStackFallsBackToSnapshotsLastInFirstOut) {
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

TEST_F(GuardsGLTest, CheckGLErrorTakesOneErrorAndWritesOneLine) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CheckGLError("quiet"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const std::string glu = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
    ASSERT_FALSE(glu.empty());
    glEnable(0x1234);  // not a capability: GL_INVALID_ENUM
    testing::internal::CaptureStderr();
    EXPECT_TRUE(CheckGLError("L"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "L: Error 1280: " + glu + "\n");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // it took the error

    glEnable(0x1234);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(CheckGLError(nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error 1280: " + glu + "\n");
}
