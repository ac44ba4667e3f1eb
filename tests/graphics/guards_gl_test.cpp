// GL state guards, read back from GL: inside, the state asked for; after, the
// state found; the matrix-stack records with their snapshot fallback;
// CheckGLError's line.

#include "gl_loader/gl_ext.h"
#include "graphics/gl_error.h"
#include "graphics/guards.h"

#include "gl_test_context.h"

#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

using namespace libgr;

namespace {

using values = std::vector<double>;

// What to read back: n values of glGet (a capability reads as 0 or 1).
struct query_t {
    GLenum what;
    int n;
};

values read(const std::vector<query_t>& queries) {
    values out;
    for (const query_t& q : queries) {
        double v[16] = {};
        glGetDoublev(q.what, v);
        out.insert(out.end(), v, v + q.n);
    }
    return out;
}

double now(GLenum pname) { return read({{pname, 1}})[0]; }

// A scope holding guard G made from args, running `in` inside it.
using scope_t = std::function<void(const std::function<void()>&)>;
template <class G, class... A> scope_t guarded(A... args) {
    return [=](const std::function<void()>& in) {
        G guard(args...);
        in();
    };
}

class GuardsGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        gl_ext_init();
    }
};

}  // namespace

// Each guard twice, nested: the outer one finds another state (GL's, made
// lopsided so that swapped values show), the inner one finds what it asks
// for. Inside both, what was asked; after each, what it found.
TEST_F(GuardsGLTest, EveryGuardSetsWhatItAsksAndRestoresWhatItFound) {
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    glViewport(0, 0, 256, 128);
    glPolygonMode(GL_BACK, GL_POINT);
    glAlphaFunc(GL_ALWAYS, 0.25f);
    glPolygonOffset(1, -1);
    const values t7{GL_TEXTURE, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 0, 0, 1};
    // clang-format off
    const struct {
        const char* name;
        std::vector<query_t> state;
        values asked;
        scope_t scope;
    } cases[] = {
        {"enable", {{GL_BLEND, 1}}, {1}, guarded<grEnableGuard>(GL_BLEND)},
        {"disable", {{GL_DITHER, 1}}, {0}, guarded<grDisableGuard>(GL_DITHER)},
        {"matrix mode", {{GL_MATRIX_MODE, 1}}, {GL_PROJECTION}, guarded<grMatrixModeGuard>(GL_PROJECTION)},
        {"matrix", {{GL_MATRIX_MODE, 1}, {GL_TEXTURE_MATRIX, 16}}, t7,
         [](const auto& in) { grMatrixGuard g(GL_TEXTURE); glLoadIdentity(); glTranslatef(7, 0, 0); in(); }},
        {"active texture", {{GL_ACTIVE_TEXTURE, 1}}, {GL_TEXTURE1}, guarded<grActiveTextureGuard>(GL_TEXTURE1)},
        {"depth mask", {{GL_DEPTH_WRITEMASK, 1}}, {0}, guarded<grDepthMaskGuard>(GL_FALSE)},
        {"depth func", {{GL_DEPTH_FUNC, 1}}, {GL_ALWAYS}, guarded<grDepthFuncGuard>(GL_ALWAYS)},
        {"line width", {{GL_LINE_WIDTH, 1}}, {3}, guarded<grLineWidthGuard>(3.0f)},
        {"colour mask", {{GL_COLOR_WRITEMASK, 4}}, {1, 0, 1, 0}, guarded<grColorMaskGuard>(1, 0, 1, 0)},
        {"colour mask, all", {{GL_COLOR_WRITEMASK, 4}}, {0, 0, 0, 0}, guarded<grColorMaskGuard>(GLboolean(0))},
        {"viewport", {{GL_VIEWPORT, 4}}, {1, 2, 30, 40}, guarded<grViewportGuard>(1, 2, 30, 40)},
        {"clear colour", {{GL_COLOR_CLEAR_VALUE, 4}}, {0.25, 0.5, 0.75, 1},
         guarded<grClearColorGuard>(0.25f, 0.5f, 0.75f, 1.0f)},
        {"polygon mode", {{GL_POLYGON_MODE, 2}}, {GL_LINE, GL_FILL}, guarded<grPolygonModeGuard>(GL_LINE, GL_FILL)},
        {"polygon mode, both", {{GL_POLYGON_MODE, 2}}, {GL_LINE, GL_LINE}, guarded<grPolygonModeGuard>(GL_LINE)},
        {"blend func", {{GL_BLEND, 1}, {GL_BLEND_SRC, 1}, {GL_BLEND_DST, 1}}, {1, GL_SRC_ALPHA, GL_ONE},
         guarded<grBlendFuncGuard>(GL_SRC_ALPHA, GL_ONE)},
        {"alpha func", {{GL_ALPHA_TEST, 1}, {GL_ALPHA_TEST_FUNC, 1}, {GL_ALPHA_TEST_REF, 1}}, {1, GL_GREATER, 0.5},
         guarded<grAlphaFuncGuard>(GL_GREATER, 0.5f)},
        {"polygon offset", {{GL_POLYGON_OFFSET_LINE, 1}, {GL_POLYGON_OFFSET_FACTOR, 1}, {GL_POLYGON_OFFSET_UNITS, 1}},
         {1, 2, 3}, guarded<grPolygonOffsetGuard>(GL_POLYGON_OFFSET_LINE, 2.0f, 3.0f)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const values found = read(c.state);
        ASSERT_NE(found, c.asked);
        c.scope([&] {
            EXPECT_EQ(read(c.state), c.asked) << "inside, from another state";
            c.scope([&] { EXPECT_EQ(read(c.state), c.asked) << "inside, from the same"; });
            EXPECT_EQ(read(c.state), c.asked) << "after, from the same";
        });
        EXPECT_EQ(read(c.state), found) << "after, from another state";
    }
    // A value guard that found what it asks for saved nothing: a change
    // made in its scope stays.
    guarded<grDepthMaskGuard>(GL_TRUE)([] { glDepthMask(GL_FALSE); });
    EXPECT_EQ(now(GL_DEPTH_WRITEMASK), 0);
    glDepthMask(GL_TRUE);
}

TEST_F(GuardsGLTest, WithoutGlActiveTextureARBTheUnitStaysAndOneLineSaysSo) {
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    const auto loaded = gl_ext::glActiveTextureARB;
    gl_ext::glActiveTextureARB = nullptr;
    testing::internal::CaptureStderr();
    {
        grActiveTextureGuard one(GL_TEXTURE1), two(GL_TEXTURE2);
        EXPECT_EQ(now(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    gl_ext::glActiveTextureARB = loaded;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(now(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

TEST_F(GuardsGLTest, MatrixStackRecordsSnapshotsWhenFullAndUnknownModes) {
    SetMatrixStackCheck(true);  // the colour matrix only with GL_ARB_imaging: no GL error otherwise
    EXPECT_EQ(FindMatrixStack(GL_TEXTURE)->m_maxDepth, now(GL_MAX_TEXTURE_STACK_DEPTH));
    glMatrixMode(GL_PROJECTION);
    EXPECT_EQ(FindMatrixStack(0)->m_mode, static_cast<GLenum>(GL_PROJECTION));
    testing::internal::CaptureStdout();
    grMatrixStack* stack = FindMatrixStack(0x1a2b);
    std::cout << 255 << std::endl;  // decimal again
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1a2b: unknown enum! fall back to modelview.\n255\n");
    EXPECT_EQ(stack, FindMatrixStack(GL_MODELVIEW));

    // Filled to the limit, the stack is saved in memory, last in first out.
    const auto x_y = [] {
        const values m = read({{GL_MODELVIEW_MATRIX, 16}});
        return values{m[12], m[13]};
    };
    glMatrixMode(GL_MODELVIEW);
    const GLint depth = GLint(now(GL_MAX_MODELVIEW_STACK_DEPTH));
    for (GLint d = 1; d < depth; ++d) glPushMatrix();
    glTranslatef(1, 0, 0);
    glMatrixMode(GL_PROJECTION);
    {
        grMatrixGuard outer(GL_MODELVIEW);
        glTranslatef(0, 5, 0);
        {
            grMatrixGuard inner(GL_MODELVIEW);
            glLoadIdentity();
        }
        EXPECT_EQ(x_y(), (values{1, 5}));
    }
    EXPECT_TRUE(now(GL_MATRIX_MODE) == GL_PROJECTION && now(GL_MODELVIEW_STACK_DEPTH) == depth);
    EXPECT_TRUE(x_y() == (values{1, 0}) && stack->m_snapshots.empty());
    glMatrixMode(GL_MODELVIEW);
    for (GLint d = 1; d < depth; ++d) glPopMatrix();
    glLoadIdentity();
    SetMatrixStackCheck(false);
}

TEST_F(GuardsGLTest, CheckGLErrorTakesOneErrorAndWritesOneLine) {
    const std::string glu = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
    for (const char* label : {"L", static_cast<const char*>(nullptr)}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(CheckGLError(label));
        glEnable(0x1234);  // not a capability: GL_INVALID_ENUM
        EXPECT_TRUE(CheckGLError(label));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "taken";
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  (label ? std::string(label) + ": " : "") + "Error 1280: " + glu + "\n");
    }
}
