// libgr against a real GL context, checked by what GL holds: the state guards (inside, the state asked for; after, the
// state found), the matrix-stack records, CheckGLError's line, display lists and texture objects (one GL name per
// counted record, shared by copies, deleted by the last holder), the texture read-back and the rotation matrices.

#include "gl_loader/gl_ext.h"
#include "graphics/display_list.h"
#include "graphics/gl_error.h"
#include "graphics/guards.h"
#include "graphics/image_buffer.h"
#include "graphics/texture_object.h"
#include "graphics/texture_readback.h"
#include "graphics/values_ops.h"

#include "gl_test_context.h"

#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

using namespace libgr;
using bytes_t = std::vector<std::uint8_t>;

namespace {

using values = std::vector<double>;
using query_t = std::pair<GLenum, int>;  // n values of glGet (a capability reads as 0 or 1)

values read(const std::vector<query_t>& queries) {
    values out;
    for (const auto& [what, n] : queries) {
        double v[16] = {};
        glGetDoublev(what, v);
        out.insert(out.end(), v, v + n);
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

// The matrix of `mode` moved 7 along x inside a grMatrixGuard, and what GL then holds: the mode and that matrix.
scope_t moved(GLenum mode) {
    return [mode](const std::function<void()>& in) {
        grMatrixGuard guard(mode);
        glLoadIdentity();
        glTranslatef(7, 0, 0);
        in();
    };
}
values moved_state(GLenum mode) { return {double(mode), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 0, 0, 1}; }

// Sets the line width, so GL's state shows which list ran.
struct SetsWidth : grObject3D {
    explicit SetsWidth(float w) : m_w(w) {}
    void DrawBody() override { glLineWidth(m_w); }
    float m_w;
};

// A texture of `texels` in a pixel format: one row (1D) or more (2D), rows byte-aligned.
struct Texels : grTexturableImageGL {
    Texels(GLenum internal = GL_R8, GLenum format = GL_RED, GLenum type = GL_UNSIGNED_BYTE,
           bytes_t texels = {10, 47, 84, 121}, GLsizei width = 4, GLsizei height = 1)
        : m_internal(internal), m_format(format), m_type(type), m_texels(std::move(texels)), m_w(width), m_h(height) {}
    unsigned GetDimension() const override { return m_h > 1 ? 2 : 1; }
    GLenum GetFormat() const override { return m_format; }
    void Apply() override {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        m_h > 1 ? glTexImage2D(GL_TEXTURE_2D, 0, m_internal, m_w, m_h, 0, m_format, m_type, m_texels.data())
                : glTexImage1D(GL_TEXTURE_1D, 0, m_internal, m_w, 0, m_format, m_type, m_texels.data());
    }
    GLenum m_internal, m_format, m_type;
    bytes_t m_texels;
    GLsizei m_w, m_h;
};

// Destroying the original keeps the shared name; assigning over the only holder of another name deletes that one;
// self-assignment changes nothing; the last release deletes the name.
template <class Holder, class Make> void expect_shared_until_the_last_holder(Make make, GLboolean (*exists)(GLuint)) {
    auto* original = new Holder;
    Holder other;
    make(*original);
    make(other);
    const GLuint name = original->GetName(), other_name = other.GetName();
    std::vector<bool> seen;
    {
        Holder copy(*original);
        delete original;
        other = copy;
        other = static_cast<const Holder&>(other);
        seen = {exists(name) == GL_TRUE, exists(other_name) == GL_TRUE};
    }
    seen.push_back(exists(name) == GL_TRUE && other.GetName() == name);
    other.Release();
    seen.push_back(exists(name) == GL_TRUE);
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
}

using GuardsGLTest = wg_test::GLTest;
using GLObjectsGLTest = wg_test::GLTest;
using ValuesGLTest = wg_test::GLTest;

}  // namespace

// Each guard twice, nested: the outer one finds another state (GL's, made lopsided so that swapped values show), the
// inner one finds what it asks for. Inside both, what was asked; after each, what it found. The texture matrix stack is
// full, so its guards keep snapshots, last in first out.
TEST_F(GuardsGLTest, EveryGuardSetsWhatItAsksAndRestoresWhatItFound) {
    gl_ext_init();
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    glViewport(0, 0, 256, 128);
    glPolygonMode(GL_BACK, GL_POINT);
    glAlphaFunc(GL_ALWAYS, 0.25f);
    glPolygonOffset(1, -1);
    SetMatrixStackCheck(true);  // the colour matrix only with GL_ARB_imaging: no GL error otherwise
    glMatrixMode(GL_TEXTURE);
    const GLint depth = GLint(now(GL_MAX_TEXTURE_STACK_DEPTH));
    for (GLint d = 1; d < depth; ++d) glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    // clang-format off
    const struct {
        const char* name;
        std::vector<query_t> state;
        values asked;
        scope_t scope;
    } cases[] = {
        {"enable", {{GL_BLEND, 1}}, {1}, guarded<grEnableGuard>(GL_BLEND)},
        {"disable", {{GL_DITHER, 1}}, {0}, guarded<grDisableGuard>(GL_DITHER)},
        {"matrix mode", {{GL_MATRIX_MODE, 1}}, {GL_MODELVIEW}, guarded<grMatrixModeGuard>(GL_MODELVIEW)},
        {"matrix", {{GL_MATRIX_MODE, 1}, {GL_MODELVIEW_MATRIX, 16}}, moved_state(GL_MODELVIEW), moved(GL_MODELVIEW)},
        {"matrix, stack full", {{GL_MATRIX_MODE, 1}, {GL_TEXTURE_MATRIX, 16}}, moved_state(GL_TEXTURE),
         moved(GL_TEXTURE)},
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
    EXPECT_EQ(now(GL_TEXTURE_STACK_DEPTH), depth);
    glMatrixMode(GL_TEXTURE);
    for (GLint d = 1; d < depth; ++d) glPopMatrix();
    SetMatrixStackCheck(false);
    // A value guard that found what it asks for saved nothing: a change made in its scope stays.
    guarded<grDepthMaskGuard>(GL_TRUE)([] { glDepthMask(GL_FALSE); });
    EXPECT_EQ(now(GL_DEPTH_WRITEMASK), 0);
}

TEST_F(GuardsGLTest, WithoutGlActiveTextureARBTheUnitStaysAndOneLineSaysSo) {
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
}

// The current mode's record for 0; an unknown mode, said in hex (the stream
// left in decimal), falls back to the modelview record.
TEST_F(GuardsGLTest, MatrixStackRecordsOfTheCurrentAndOfUnknownModes) {
    glMatrixMode(GL_PROJECTION);
    EXPECT_EQ(FindMatrixStack(0)->m_mode, static_cast<GLenum>(GL_PROJECTION));
    testing::internal::CaptureStdout();
    const grMatrixStack* stack = FindMatrixStack(0x1a2b);
    std::cout << 255 << std::endl;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1a2b: unknown enum! fall back to modelview.\n255\n");
    EXPECT_EQ(stack, FindMatrixStack(GL_MODELVIEW));
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(GuardsGLTest, CheckGLErrorTakesOneErrorAndWritesOneLine) {
    const std::string glu = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
    for (const char* label : {"L", static_cast<const char*>(nullptr)}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(CheckGLError(label)) << "the last one was taken";
        glEnable(0x1234);  // not a capability: GL_INVALID_ENUM
        EXPECT_TRUE(CheckGLError(label));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  (label ? std::string(label) + ": " : "") + "Error 1280: " + glu + "\n");
    }
}

TEST_F(GLObjectsGLTest, CopiesShareTheNameAndTheLastHolderDeletesIt) {
    SetsWidth two(2.0f);
    Texels image;
    expect_shared_until_the_last_holder<grDspList>([&](grDspList& l) { l.Compile(&two); }, glIsList);
    expect_shared_until_the_last_holder<grTextureObject>([&](grTextureObject& t) { t.Create(image); }, glIsTexture);
}

// Inside glBegin GL names nothing: no list, no texture. Named out of it, a
// list recompiles under its name and a texture applies and unapplies.
TEST_F(GLObjectsGLTest, NoNameFromGLIsRefusedAndNamedObjectsWork) {
    SetsWidth two(2.0f), four(4.0f);
    Texels image;
    grDspList list;
    grTextureObject texture;
    glBegin(GL_POINTS);
    const bool compiled = list.Compile(&two), created = texture.Create(image);
    glEnd();
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_FALSE(compiled);
    EXPECT_FALSE(created);
    EXPECT_EQ((std::array{list.GetName(), texture.GetName()}),
              (std::array<GLuint, 2>{GL_INVALID_VALUE, GL_INVALID_VALUE}));
    ASSERT_TRUE(list.Compile(&two));
    ASSERT_TRUE(texture.Create(image));
    const GLuint name = list.GetName();
    const auto width_drawn = [&] { return list.Draw(), now(GL_LINE_WIDTH); };
    EXPECT_EQ(width_drawn(), 2);
    EXPECT_TRUE(list.Compile(&four));
    EXPECT_EQ(list.GetName(), name);
    EXPECT_EQ(width_drawn(), 4);
    texture.Apply();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(now(GL_TEXTURE_BINDING_1D), GLint(texture.GetName()));
    texture.Unapply();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(now(GL_TEXTURE_BINDING_1D), 0);
}

// An image unit takes the texture's own internal format, not the pixel format its texels came in (GL_RED is none); a
// luminance texture has none and is refused in one line.
TEST_F(GLObjectsGLTest, BindImageTakesAFormatTheImageUnitAccepts) {
    gl_ext_init();
    if (!gl_ext::glBindImageTexture || now(GL_MAX_IMAGE_UNITS) < 2) GTEST_SKIP() << "no image units";
    Texels red, luminance(GL_LUMINANCE8, GL_LUMINANCE);
    grTextureObject image, other;
    ASSERT_TRUE(image.Create(red));
    ASSERT_TRUE(other.Create(luminance));
    const auto bound = [] {
        GLint name = 0, format = 0;
        gl_ext::glGetIntegeri_v(GL_IMAGE_BINDING_NAME, 1, &name);
        gl_ext::glGetIntegeri_v(GL_IMAGE_BINDING_FORMAT, 1, &format);
        return std::pair{GLuint(name), GLenum(format)};
    };
    Texels unsized(GL_RED, GL_RED);  // the driver may keep it unsized: then it binds as R8
    grTextureObject plain;
    ASSERT_TRUE(plain.Create(unsized));
    plain.BindImage(1, 0, GL_READ_ONLY);
    EXPECT_EQ(bound(), std::pair(plain.GetName(), GLenum(GL_R8)));
    image.BindImage(1, 0, GL_READ_ONLY);
    EXPECT_EQ(bound(), std::pair(image.GetName(), GLenum(GL_R8)));
    testing::internal::CaptureStderr();
    other.BindImage(1, 0, GL_READ_ONLY);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "grTextureObject::BindImage: internal format 0x8040 has no image unit format; image not bound\n");
    EXPECT_EQ(bound().first, image.GetName());
    image.UnbindImage(1);
    EXPECT_EQ(bound().first, 0u);
}

// The read-back transfers GL's own component type and width, from the channel the texture has, as RGBA, through the
// texture's name and through its target; it sets the pack state for its rows and gives the caller's back.
TEST_F(GLObjectsGLTest, ReadBackKeepsTheTexelsTypeWidthAndChannel) {
    gl_ext_init();
    const std::uint16_t integers[4] = {1, 2, 40000, 65535};
    const float reals[4] = {0.25f, -2.0f, 1e6f, 0.5f};
    const auto bytes = [](const void* p, std::size_t n) {
        return bytes_t(static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + n);
    };
    const bytes_t four{10, 47, 84, 121}, ints = bytes(integers, 8), floats = bytes(reals, 16);
    const bytes_t red{10, 0, 0, 255, 47, 0, 0, 255, 84, 0, 0, 255, 121, 0, 0, 255},
        alpha{0, 0, 0, 10, 0, 0, 0, 47, 0, 0, 0, 84, 0, 0, 0, 121};
    const struct {
        Texels image;
        std::uint8_t kind, bits;
        bytes_t rgba;
    } cases[] = {
        {{GL_R8, GL_RED, GL_UNSIGNED_BYTE, four, 2, 2}, grRealOrNormalized, 3, red},
        {{GL_LUMINANCE8, GL_LUMINANCE, GL_UNSIGNED_BYTE, four, 4, 1}, grRealOrNormalized, 3, red},
        {{GL_INTENSITY8, GL_LUMINANCE, GL_UNSIGNED_BYTE, four, 4, 1}, grRealOrNormalized, 3, red},
        {{GL_ALPHA8, GL_ALPHA, GL_UNSIGNED_BYTE, four, 4, 1}, grRealOrNormalized, 3, alpha},
        {{GL_RGBA16UI, GL_RGBA_INTEGER, GL_UNSIGNED_SHORT, ints, 1, 1}, grUnsignedInteger, 5, ints},
        {{GL_RGBA32F, GL_RGBA, GL_FLOAT, floats, 1, 1}, grRealOrNormalized, 7, floats},
    };
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 7);  // rows 28 bytes apart, unless the read-back sets its own
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "internal format 0x" << std::hex << c.image.m_internal);
        Texels image = c.image;
        grTextureObject texture;
        ASSERT_TRUE(texture.Create(image));
        for (bool member : {true, false}) {
            grImageBuffer read;
            ASSERT_TRUE(member ? texture.GetTextureImage(0, read) : GetTextureImage(texture.GetTarget(), 0, read));
            EXPECT_EQ(read.GetComponentKind(), c.kind);
            EXPECT_EQ(read.GetBitSize(), c.bits);
            EXPECT_EQ(bytes(read.GetData(), read.GetBytes().size()), c.rgba) << (member ? "by name" : "by target");
            EXPECT_EQ(now(GL_PACK_ALIGNMENT), 1);
            EXPECT_EQ(now(GL_PACK_ROW_LENGTH), 7);
        }
    }
}

// to_rot3 and to_mtx3w make of a rotation vector the matrix glRotate makes of
// its length and direction, and rotate turns a point by it.
TEST_F(ValuesGLTest, RotationsAreGLs) {
    for (const rev3& r : {rev3{0, 0, 0}, rev3{0, 0, 1.5f}, rev3{0.3f, -0.4f, 2.0f}, rev3{-3, 1, 0.5f}}) {
        glLoadIdentity();
        glRotated(std::hypot(r.x, r.y, r.z) * 180 / M_PI, r.x, r.y, r.z);
        values want = read({{GL_MODELVIEW_MATRIX, 16}});
        for (int i = 0; i < 3; ++i) want.push_back(want[i] + 2 * want[4 + i] + 3 * want[8 + i]);
        const mtx3w m = to_mtx3w(to_rot3(r));
        const pos3 p = rotate(pos3{1, 2, 3}, to_rot3(r));
        values got(m.m, m.m + 16);
        got.insert(got.end(), {p.x, p.y, p.z});
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-6) << i;
    }
}
