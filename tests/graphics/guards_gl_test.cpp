// GL state guards restore what they found, and only what they changed.

#include "graphics/guards.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"

#include <type_traits>

using namespace libgr;

template <class... G>
constexpr bool none_copyable = ((!std::is_copy_constructible_v<G> && !std::is_copy_assignable_v<G>) && ...);
static_assert(none_copyable<grEnableGuard, grDisableGuard, grMatrixModeGuard, grMatrixGuard, grActiveTextureGuard,
                            grDepthMaskGuard, grDepthFuncGuard, grLineWidthGuard, grColorMaskGuard, grViewportGuard,
                            grClearColorGuard, grPolygonModeGuard, grBlendFuncGuard, grAlphaFuncGuard,
                            grPolygonOffsetGuard>);

namespace {

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

class GuardsGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        gl_ext_init();
    }
};

}  // namespace

TEST_F(GuardsGLTest, EnableGuardOnACapabilityAlreadyOnLeavesItOn) {
    glDisable(GL_BLEND);
    { grEnableGuard blend(GL_BLEND); EXPECT_TRUE(glIsEnabled(GL_BLEND)); }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    glEnable(GL_BLEND);
    { grEnableGuard blend(GL_BLEND); }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    // It saved nothing, so it also leaves a change made in its scope.
    { grEnableGuard blend(GL_BLEND); glDisable(GL_BLEND); }
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
        glDepthMask(GL_FALSE);  // no saved value, so the guard leaves this
    }
    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    { grDepthMaskGuard writes(GL_TRUE); glGetBooleanv(GL_DEPTH_WRITEMASK, &mask); EXPECT_EQ(mask, GL_TRUE); }
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    glDepthMask(GL_TRUE);
}

TEST_F(GuardsGLTest, ActiveTextureGuardSwitchesAndRestoresTheUnit) {
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    {
        grActiveTextureGuard unit(GL_TEXTURE1);
        EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
        { grActiveTextureGuard none(0); EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1); }
    }
    EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

TEST_F(GuardsGLTest, AlwaysSaveAndCompositeGuardsRestoreTheirValues) {
    glViewport(0, 0, 256, 256);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    {
        grViewportGuard viewport(1, 2, 30, 40);
        grBlendFuncGuard blend(GL_SRC_ALPHA, GL_ONE);
        EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    }
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 256);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ZERO);
}
