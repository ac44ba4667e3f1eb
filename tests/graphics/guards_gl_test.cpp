// GL state guards: each one restores what it found, and only what it
// changed.

#include "graphics/guards.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"

#include <type_traits>

using namespace libgr;

static_assert(!std::is_copy_constructible_v<grEnableGuard> && !std::is_copy_assignable_v<grEnableGuard>);
static_assert(!std::is_copy_constructible_v<grDisableGuard>);
static_assert(!std::is_copy_constructible_v<grMatrixModeGuard>);
static_assert(!std::is_copy_constructible_v<grMatrixGuard> && !std::is_copy_assignable_v<grMatrixGuard>);
static_assert(!std::is_copy_constructible_v<grActiveTextureGuard>);
static_assert(!std::is_copy_constructible_v<grDepthMaskGuard>);
static_assert(!std::is_copy_constructible_v<grDepthFuncGuard>);
static_assert(!std::is_copy_constructible_v<grLineWidthGuard>);
static_assert(!std::is_copy_constructible_v<grColorMaskGuard>);
static_assert(!std::is_copy_constructible_v<grViewportGuard>);
static_assert(!std::is_copy_constructible_v<grClearColorGuard>);
static_assert(!std::is_copy_constructible_v<grPolygonModeGuard>);
static_assert(!std::is_copy_constructible_v<grBlendFuncGuard>);
static_assert(!std::is_copy_constructible_v<grAlphaFuncGuard>);
static_assert(!std::is_copy_constructible_v<grPolygonOffsetGuard>);

namespace {

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

GLboolean get_bool(GLenum what) {
    GLboolean v = GL_FALSE;
    glGetBooleanv(what, &v);
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

TEST_F(GuardsGLTest, EnableGuardTurnsOnForItsScopeOnly) {
    glDisable(GL_BLEND);
    {
        grEnableGuard blend(GL_BLEND);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(GuardsGLTest, EnableGuardOnCapabilityAlreadyOnLeavesItAlone) {
    glEnable(GL_DEPTH_TEST);
    {
        grEnableGuard depth(GL_DEPTH_TEST);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    // It saved nothing, so a change made inside its scope survives it.
    {
        grEnableGuard depth(GL_DEPTH_TEST);
        glDisable(GL_DEPTH_TEST);
    }
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(GuardsGLTest, DisableGuardTurnsOffAndBack) {
    glEnable(GL_CULL_FACE);
    {
        grDisableGuard cull(GL_CULL_FACE);
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    }
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    glDisable(GL_CULL_FACE);
    {
        grDisableGuard cull(GL_CULL_FACE);
    }
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
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
            EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_TEXTURE);
            EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_EQUAL);
        }
        EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
        EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_ALWAYS);
    }
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LESS);
}

TEST_F(GuardsGLTest, MatrixModeGuardWithZeroKeepsTheMode) {
    glMatrixMode(GL_PROJECTION);
    {
        grMatrixModeGuard none(0);
        EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
        glMatrixMode(GL_TEXTURE);
    }
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_TEXTURE);
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(GuardsGLTest, DepthMaskGuardOnTheSameValueChangesNothing) {
    glDepthMask(GL_TRUE);
    {
        grDepthMaskGuard mask(GL_TRUE);
        EXPECT_EQ(get_bool(GL_DEPTH_WRITEMASK), GL_TRUE);
        glDepthMask(GL_FALSE);  // no saved value, so the guard leaves this
    }
    EXPECT_EQ(get_bool(GL_DEPTH_WRITEMASK), GL_FALSE);
    {
        grDepthMaskGuard mask(GL_TRUE);
        EXPECT_EQ(get_bool(GL_DEPTH_WRITEMASK), GL_TRUE);
    }
    EXPECT_EQ(get_bool(GL_DEPTH_WRITEMASK), GL_FALSE);
    glDepthMask(GL_TRUE);
}

TEST_F(GuardsGLTest, LineWidthGuardRestoresTheWidth) {
    glLineWidth(1.0f);
    {
        grLineWidthGuard width(3.0f);
        GLfloat w = 0.0f;
        glGetFloatv(GL_LINE_WIDTH, &w);
        EXPECT_EQ(w, 3.0f);
    }
    GLfloat w = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &w);
    EXPECT_EQ(w, 1.0f);
}

TEST_F(GuardsGLTest, ActiveTextureGuardSwitchesAndRestoresTheUnit) {
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    {
        grActiveTextureGuard unit(GL_TEXTURE1);
        EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
        {
            grActiveTextureGuard same(GL_TEXTURE1);
            EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
        }
        EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
        {
            grActiveTextureGuard none(0);
            EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
        }
    }
    EXPECT_EQ(get_int(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

TEST_F(GuardsGLTest, AlwaysSaveGuardsRestoreTheirValues) {
    glViewport(0, 0, 256, 256);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    {
        grViewportGuard viewport(1, 2, 30, 40);
        grClearColorGuard clear(1.0f, 0.0f, 0.0f, 0.0f);
        grColorMaskGuard mask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
        grPolygonModeGuard mode(GL_LINE, GL_POINT);

        GLint vp[4];
        glGetIntegerv(GL_VIEWPORT, vp);
        EXPECT_EQ(vp[0], 1);
        EXPECT_EQ(vp[3], 40);
        GLfloat cc[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, cc);
        EXPECT_EQ(cc[0], 1.0f);
        GLboolean cm[4];
        glGetBooleanv(GL_COLOR_WRITEMASK, cm);
        EXPECT_EQ(cm[1], GL_FALSE);
        GLint pm[2];
        glGetIntegerv(GL_POLYGON_MODE, pm);
        EXPECT_EQ(pm[0], GL_LINE);
        EXPECT_EQ(pm[1], GL_POINT);
    }
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 256);
    GLfloat cc[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, cc);
    EXPECT_EQ(cc[1], 0.5f);
    EXPECT_EQ(cc[2], 0.75f);
    GLboolean cm[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, cm);
    EXPECT_EQ(cm[1], GL_TRUE);
    EXPECT_EQ(cm[3], GL_TRUE);
    GLint pm[2];
    glGetIntegerv(GL_POLYGON_MODE, pm);
    EXPECT_EQ(pm[0], GL_FILL);
    EXPECT_EQ(pm[1], GL_FILL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

TEST_F(GuardsGLTest, CompositeGuardsRestoreParametersAndCapability) {
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glDisable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(0.0f, 0.0f);
    {
        grBlendFuncGuard blend(GL_SRC_ALPHA, GL_ONE);
        grAlphaFuncGuard alpha(GL_LESS, 0.25f);
        grPolygonOffsetGuard offset(GL_POLYGON_OFFSET_LINE, 1.0f, 2.0f);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
        EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE);
        EXPECT_EQ(get_int(GL_ALPHA_TEST_FUNC), GL_LESS);
        EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_LINE));
        GLfloat units = 0.0f;
        glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
        EXPECT_EQ(units, 2.0f);
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ZERO);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));  // was on before, stays on
    EXPECT_EQ(get_int(GL_ALPHA_TEST_FUNC), GL_GREATER);
    GLfloat ref = 0.0f;
    glGetFloatv(GL_ALPHA_TEST_REF, &ref);
    EXPECT_FLOAT_EQ(ref, 0.5f);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_LINE));
    GLfloat factor = -1.0f;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    EXPECT_EQ(factor, 0.0f);
    glDisable(GL_ALPHA_TEST);
    glAlphaFunc(GL_ALWAYS, 0.0f);
}
