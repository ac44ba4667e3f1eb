// grDspList and grTextureObject (one GL name per counted record, shared by
// copies, deleted by the last holder) and the texture read-back.

#include "gl_loader/gl_ext.h"
#include "graphics/display_list.h"
#include "graphics/image_buffer.h"
#include "graphics/texture_object.h"
#include "graphics/texture_readback.h"

#include "gl_test_context.h"

#include <GL/glext.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace libgr;
using bytes_t = std::vector<std::uint8_t>;

namespace {

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

// Sets the line width, so GL's state shows which list ran.
struct SetsWidth : grObject3D {
    explicit SetsWidth(float w) : m_w(w) {}
    void DrawBody() override { glLineWidth(m_w); }
    float m_w;
};

int width_drawn(grDspList& list) {
    glLineWidth(1.0f);
    list.Draw();
    return get_int(GL_LINE_WIDTH);
}

// A texture of `texels`: one row (1D) or more (2D).
struct Texels : grTexturableImageGL {
    Texels(GLenum internal, GLenum format, GLenum type, bytes_t texels, GLsizei width = 4, GLsizei height = 1)
        : m_internal(internal), m_format(format), m_type(type), m_texels(std::move(texels)), m_w(width), m_h(height) {}
    unsigned GetDimension() const override { return m_h > 1 ? 2 : 1; }
    void Apply() override {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (m_h > 1) glTexImage2D(GL_TEXTURE_2D, 0, m_internal, m_w, m_h, 0, m_format, m_type, m_texels.data());
        if (m_h == 1) glTexImage1D(GL_TEXTURE_1D, 0, m_internal, m_w, 0, m_format, m_type, m_texels.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    GLenum GetFormat() const override { return m_internal; }
    GLenum m_internal, m_format, m_type;
    bytes_t m_texels;
    GLsizei m_w, m_h;
};

Texels red8() { return Texels(GL_R8, GL_RED, GL_UNSIGNED_BYTE, {10, 47, 84, 121}); }

// Destroying the original keeps the shared name; assigning over the only
// holder of another name deletes that one; self-assignment changes nothing;
// the last release deletes the name.
template <class Holder, class Make, class Exists> void expect_shared_until_the_last_holder(Make make, Exists exists) {
    auto* original = new Holder;
    make(*original);
    const GLuint name = original->GetName();
    Holder other;
    make(other);
    const GLuint other_name = other.GetName();
    {
        Holder copy(*original);
        delete original;
        EXPECT_TRUE(exists(name));
        other = copy;
        EXPECT_FALSE(exists(other_name));
        other = static_cast<const Holder&>(other);
    }
    EXPECT_TRUE(exists(name));
    EXPECT_EQ(other.GetName(), name);
    other.Release();
    EXPECT_FALSE(exists(name));
}

class GLObjectsGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        gl_ext_init();
    }
};

}  // namespace

TEST_F(GLObjectsGLTest, CopiesShareTheNameAndTheLastHolderDeletesIt) {
    SetsWidth two(2.0f);
    expect_shared_until_the_last_holder<grDspList>([&](grDspList& l) { l.Compile(&two); },
                                                   [](GLuint n) { return glIsList(n) == GL_TRUE; });
    Texels image = red8();
    expect_shared_until_the_last_holder<grTextureObject>([&](grTextureObject& t) { t.Create(image); },
                                                         [](GLuint n) { return glIsTexture(n) == GL_TRUE; });
}

// Inside glBegin GL names nothing: no list, no texture, and the default
// texture is left alone.
TEST_F(GLObjectsGLTest, NoNameFromGLIsRefused) {
    SetsWidth two(2.0f);
    Texels image = red8();
    grDspList list;
    grTextureObject texture;
    testing::internal::CaptureStderr();
    glBegin(GL_POINTS);
    const bool compiled = list.Compile(&two), created = texture.Create(image);
    glEnd();
    const std::string err = testing::internal::GetCapturedStderr();
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_FALSE(compiled || created);
    EXPECT_TRUE(list.GetName() == GL_INVALID_VALUE && texture.GetName() == GL_INVALID_VALUE);
    EXPECT_TRUE(err.find("no display list name") != err.npos && err.find("no texture name") != err.npos) << err;
    EXPECT_TRUE(list.Compile(&two) && texture.Create(image)) << "named once out of glBegin";
}

// A list recompiles under its name; a texture object applies only once
// created.
TEST_F(GLObjectsGLTest, ListsRecompileUnderOneNameAndTexturesApplyOnceCreated) {
    SetsWidth two(2.0f), four(4.0f);
    grDspList list;
    EXPECT_EQ(width_drawn(list), 1);  // never compiled: calls nothing
    ASSERT_TRUE(list.Compile(&two));
    const GLuint name = list.GetName();
    EXPECT_TRUE(width_drawn(list) == 2 && list.Compile(&four) && list.GetName() == name && width_drawn(list) == 4);

    Texels image = red8();
    grTextureObject tex;
    tex.Apply();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    ASSERT_TRUE(tex.Create(image));
    tex.Apply();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D) && get_int(GL_TEXTURE_BINDING_1D) == static_cast<GLint>(tex.GetName()));
    tex.Unapply();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D) || get_int(GL_TEXTURE_BINDING_1D) != 0);
}

// The read-back transfers GL's own component type and width, from the
// channel the texture has, as RGBA, through the texture's name and through
// its target; it sets the pack state for its rows and gives the caller's
// back.
TEST_F(GLObjectsGLTest, ReadBackKeepsTheTexelsTypeWidthAndChannel) {
    const std::uint16_t integers[4] = {1, 2, 40000, 65535};
    const float reals[4] = {0.25f, -2.0f, 1e6f, 0.5f};
    const auto bytes = [](const void* p, std::size_t n) {
        return bytes_t(static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + n);
    };
    const bytes_t four{10, 47, 84, 121}, red{10, 0, 0, 255, 47, 0, 0, 255, 84, 0, 0, 255, 121, 0, 0, 255},
        alpha{0, 0, 0, 10, 0, 0, 0, 47, 0, 0, 0, 84, 0, 0, 0, 121};
    const struct {
        GLenum internal, format, type;
        bytes_t texels;
        GLsizei width, height;
        std::uint8_t kind, bits;
        bytes_t rgba;
    } cases[] = {
        {GL_R8, GL_RED, GL_UNSIGNED_BYTE, four, 2, 2, grRealOrNormalized, 3, red},
        {GL_LUMINANCE8, GL_LUMINANCE, GL_UNSIGNED_BYTE, four, 4, 1, grRealOrNormalized, 3, red},
        {GL_INTENSITY8, GL_LUMINANCE, GL_UNSIGNED_BYTE, four, 4, 1, grRealOrNormalized, 3, red},
        {GL_ALPHA8, GL_ALPHA, GL_UNSIGNED_BYTE, four, 4, 1, grRealOrNormalized, 3, alpha},
        {GL_RGBA16UI, GL_RGBA_INTEGER, GL_UNSIGNED_SHORT, bytes(integers, 8), 1, 1, grUnsignedInteger, 5,
         bytes(integers, 8)},
        {GL_RGBA32F, GL_RGBA, GL_FLOAT, bytes(reals, 16), 1, 1, grRealOrNormalized, 7, bytes(reals, 16)},
    };
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 7);  // rows 28 bytes apart, unless the read-back sets its own
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "internal format 0x" << std::hex << c.internal);
        Texels image(c.internal, c.format, c.type, c.texels, c.width, c.height);
        grTextureObject texture;
        ASSERT_TRUE(texture.Create(image));
        for (bool member : {true, false}) {
            grImageBuffer read;
            ASSERT_TRUE(member ? texture.GetTextureImage(0, read) : GetTextureImage(texture.GetTarget(), 0, read));
            EXPECT_TRUE(read.GetComponentKind() == c.kind && read.GetBitSize() == c.bits);
            EXPECT_EQ(bytes(read.GetData(), read.GetBytes().size()), c.rgba) << (member ? "by name" : "by target");
            EXPECT_TRUE(get_int(GL_PACK_ALIGNMENT) == 1 && get_int(GL_PACK_ROW_LENGTH) == 7);
        }
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}
