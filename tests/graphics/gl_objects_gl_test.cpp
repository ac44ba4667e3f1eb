// grDspList and grTextureObject (one GL name per counted record, shared by
// copies, deleted by the last holder) and the texture read-back.

#include "graphics/display_list.h"
#include "graphics/image_buffer.h"
#include "graphics/texture_object.h"
#include "graphics/texture_readback.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"

#include <GL/glext.h>

#include <cstdint>
#include <cstring>
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

// n distinct one-byte texels in GL_R8 (which can also be bound as a shader
// image) or GL_LUMINANCE (which has no red channel).
struct ByteImage : grTexturableImageGL {
    ByteImage(std::size_t n, GLenum format) : m_texels(n), m_format(format) {
        for (std::size_t i = 0; i < n; ++i) m_texels[i] = static_cast<std::uint8_t>(10 + 37 * i);
    }
    unsigned GetDimension() const override { return m_dimension; }
    void Apply() override {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage1D(GL_TEXTURE_1D, 0, m_format, static_cast<GLsizei>(m_texels.size()), 0,
                     m_format == GL_R8 ? GL_RED : GL_LUMINANCE, GL_UNSIGNED_BYTE, m_texels.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }
    GLenum GetFormat() const override { return m_format; }
    bytes_t m_texels;
    GLenum m_format;
    unsigned m_dimension = 1;
};

bytes_t red_texels(GLuint name, std::size_t n) {
    bytes_t texels(n);
    gl_ext::glGetTextureImage(name, 0, GL_RED, GL_UNSIGNED_BYTE, static_cast<GLsizei>(n), texels.data());
    return texels;
}

bytes_t bytes_of(const grImageBuffer& image) { return {image.GetData(), image.GetData() + image.GetBytes().size()}; }

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
    void SetUp() override {
        wg_test::GLTest::SetUp();
        glGenTextures(1, &m_name);
    }
    void TearDown() override {
        glDeleteTextures(1, &m_name);
        wg_test::GLTest::TearDown();
    }
    void Upload2D(GLenum internal, GLsizei w, GLsizei h, GLenum format, GLenum type, const void* texels) {
        glBindTexture(GL_TEXTURE_2D, m_name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, internal, w, h, 0, format, type, texels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    GLuint m_name = 0;  // a plain texture for the read-back
};

}  // namespace

TEST_F(GLObjectsGLTest, ListsRecompileUnderOneNameAndDeleteListDropsItForAllHolders) {
    const GLuint first = glGenLists(GL_INVALID_VALUE + 1);  // a list under the stand-in name 0x501
    glNewList(GL_INVALID_VALUE, GL_COMPILE);
    glLineWidth(3.0f);
    glEndList();
    SetsWidth two(2.0f), four(4.0f);
    grDspList list;
    EXPECT_EQ(list.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    EXPECT_EQ(width_drawn(list), 1);  // never compiled: calls nothing
    glDeleteLists(first, GL_INVALID_VALUE + 1);

    EXPECT_TRUE(list.Compile(&two));
    const GLuint name = list.GetName();
    EXPECT_EQ(width_drawn(list), 2);
    EXPECT_TRUE(list.Compile(&four));
    EXPECT_EQ(list.GetName(), name);
    EXPECT_EQ(width_drawn(list), 4);
    EXPECT_TRUE(list.Compile(nullptr));  // an empty list under the same name
    EXPECT_TRUE(glIsList(name));
    EXPECT_EQ(width_drawn(list), 1);

    const grDspList copy(list);
    list.DeleteList();
    EXPECT_FALSE(glIsList(name));
    EXPECT_EQ(copy.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    list.Compile(&two);
    EXPECT_TRUE(glIsList(copy.GetName()));
}

TEST_F(GLObjectsGLTest, CopiesShareTheNameAndTheLastHolderDeletesIt) {
    SetsWidth two(2.0f);
    expect_shared_until_the_last_holder<grDspList>([&](grDspList& l) { l.Compile(&two); },
                                                   [](GLuint n) { return glIsList(n) == GL_TRUE; });
    ByteImage image(4, GL_R8);
    expect_shared_until_the_last_holder<grTextureObject>([&](grTextureObject& t) { t.Create(image); },
                                                         [](GLuint n) { return glIsTexture(n) == GL_TRUE; });
}

// Inside glBegin GL names nothing: no list, no texture, and the default
// texture is left alone.
TEST_F(GLObjectsGLTest, NoNameFromGLIsRefused) {
    SetsWidth two(2.0f);
    ByteImage image(4, GL_R8);
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
    EXPECT_EQ(list.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    EXPECT_EQ(texture.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    EXPECT_NE(err.find("no display list name"), std::string::npos) << err;
    EXPECT_NE(err.find("no texture name"), std::string::npos) << err;
    EXPECT_TRUE(list.Compile(&two) && texture.Create(image)) << "named once out of glBegin";
}

TEST_F(GLObjectsGLTest, TextureObjectBeforeCreateDoesNothingAndAnUnknownDimensionIsRefused) {
    grTextureObject tex;
    EXPECT_FALSE(tex.IsLoaded() || tex.IsResident());
    glBindTexture(GL_TEXTURE_1D, m_name);
    tex.Apply();
    tex.Refresh();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), static_cast<GLint>(m_name));

    ByteImage no_target(4, GL_R8);
    no_target.m_dimension = 4;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tex.Create(no_target));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("dimension 4"), std::string::npos);
    EXPECT_EQ(tex.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
}

TEST_F(GLObjectsGLTest, TextureObjectCreateUploadsApplyBindsRefreshUploadsAgain) {
    ByteImage image(4, GL_R8);
    grTextureObject tex;
    ASSERT_TRUE(tex.Create(image));
    const GLuint name = tex.GetName();
    EXPECT_TRUE(tex.IsLoaded() && tex.IsResident() && tex.GetDimension() == 1);
    EXPECT_EQ(red_texels(name, 4), image.m_texels);
    tex.Apply();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), static_cast<GLint>(name));
    tex.Unapply();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), 0);

    image.m_texels[0] = 99;
    tex.Refresh();
    EXPECT_EQ(red_texels(name, 4), image.m_texels);
    ASSERT_TRUE(tex.Create(image));
    EXPECT_EQ(tex.GetName(), name);
    tex.Release();
    EXPECT_FALSE(tex.IsLoaded());
    EXPECT_EQ(tex.GetTarget(), static_cast<GLenum>(GL_INVALID_VALUE));
}

TEST_F(GLObjectsGLTest, BindImageWithoutTheEntryPointDoesNothing) {
    ASSERT_NE(gl_ext::glBindImageTexture, nullptr);
    ByteImage image(4, GL_R8);
    grTextureObject tex;
    tex.Create(image);
    const auto bound_name = [] {
        GLint v = -1;
        gl_ext::glGetIntegeri_v(GL_IMAGE_BINDING_NAME, 0, &v);
        return v;
    };
    const auto saved = gl_ext::glBindImageTexture;
    gl_ext::glBindImageTexture = nullptr;
    tex.BindImage(0, 0, GL_READ_ONLY);
    gl_ext::glBindImageTexture = saved;
    EXPECT_EQ(bound_name(), 0);
    tex.BindImage(0, 0, GL_READ_ONLY);
    EXPECT_EQ(bound_name(), static_cast<GLint>(tex.GetName()));
    tex.UnbindImage(0);
    EXPECT_EQ(bound_name(), 0);
}

TEST_F(GLObjectsGLTest, LuminanceTextureReadsBackEqualThroughItsNameAndItsTarget) {
    ASSERT_NE(gl_ext::glGetTextureImage, nullptr);
    ByteImage profile(300, GL_LUMINANCE);
    grTextureObject texture;
    ASSERT_TRUE(texture.Create(profile));
    bytes_t rgba;  // a luminance texel l reads as (l, 0, 0, 255)
    for (std::uint8_t l : profile.m_texels) rgba.insert(rgba.end(), {l, 0, 0, 255});
    for (bool member : {true, false}) {
        SCOPED_TRACE(member ? "member form" : "bound target");
        grImageBuffer image;
        glBindTexture(GL_TEXTURE_1D, texture.GetName());
        ASSERT_TRUE(member ? texture.GetTextureImage(0, image) : GetTextureImage(GL_TEXTURE_1D, 0, image));
        EXPECT_TRUE(image.GetWidth() == 300 && image.GetHeight() == 1 && image.GetFlags() == 0);
        EXPECT_EQ(image.GetComponentKind(), grRealOrNormalized);
        EXPECT_EQ(image.GetBitSize(), 3u);  // 8 bits
        EXPECT_EQ(image.GetPixelFormat(), grPixelFormatFour);
        EXPECT_EQ(bytes_of(image), rgba);
    }
}

TEST_F(GLObjectsGLTest, ReadBackRefusalsAndTheirMessages) {
    Upload2D(GL_RGB10_A2, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, bytes_t(64, 9).data());  // 10-bit red: no size code
    grImageBuffer image;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "red size is not recognized.\n");
    EXPECT_TRUE(image.GetBytes().empty());

    // No colour channel, or no such level: false without a message.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, 4, 4, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    EXPECT_FALSE(GetTextureImage(GL_TEXTURE_2D, 5, image));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // The member form needs a name and the GL 4.5 entry points.
    ByteImage profile(16, GL_LUMINANCE);
    grTextureObject none, texture;
    ASSERT_TRUE(texture.Create(profile));
    const auto saved = gl_ext::glGetTextureImage;
    gl_ext::glGetTextureImage = nullptr;
    testing::internal::CaptureStderr();
    const bool read = texture.GetTextureImage(0, image);
    gl_ext::glGetTextureImage = saved;
    EXPECT_FALSE(none.GetTextureImage(0, image) || read);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("not loaded"), std::string::npos) << err;
    EXPECT_NE(err.find("no texture"), std::string::npos) << err;
    EXPECT_TRUE(image.GetBytes().empty());
}

// GL must write exactly the layout the buffer was sized for.
TEST_F(GLObjectsGLTest, ReadBackRowsFollowTheImageAlignmentWhateverThePackState) {
    bytes_t texels(3 * 2 * 4);  // 3 RGBA8 texels a row: 12 bytes, 16 at 8-byte alignment
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint8_t>(i + 1);
    Upload2D(GL_RGBA8, 3, 2, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 7);
    grImageBuffer image;
    image.SetPixelStore(grPixelStore{0, 8});
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    ASSERT_EQ(image.GetBytes().size(), 32u);
    EXPECT_EQ(std::memcmp(image.GetData(), texels.data(), 12), 0);
    EXPECT_EQ(std::memcmp(image.GetData() + 16, texels.data() + 12, 12), 0);
    EXPECT_TRUE(get_int(GL_PACK_ALIGNMENT) == 1 && get_int(GL_PACK_ROW_LENGTH) == 7);  // the caller's again
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

TEST_F(GLObjectsGLTest, ReadBackOfA3DTextureTakesTheSlicesAsExtraRows) {
    bytes_t texels(2 * 2 * 3 * 4);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint8_t>(3 * i);
    glBindTexture(GL_TEXTURE_3D, m_name);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA8, 2, 2, 3, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    grImageBuffer image;
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_3D, 0, image));
    EXPECT_TRUE(image.GetHeight() == 2 && image.GetExtraRows() == 4);
    EXPECT_EQ(bytes_of(image), texels);
}

TEST_F(GLObjectsGLTest, ReadBackKeepsTheKindAndWidthOfIntegerAndFloatTexels) {
    const std::uint16_t integers[4] = {1, 2, 40000, 65535};
    const float reals[4] = {0.25f, -2.0f, 1e6f, 0.5f};
    struct case_t {
        GLenum internal, format, type;
        const void* texels;
        std::uint8_t kind, bits;
        std::size_t bytes;
    };
    const case_t cases[] = {{GL_RGBA16UI, GL_RGBA_INTEGER, GL_UNSIGNED_SHORT, integers, grUnsignedInteger, 5, 8},
                            {GL_RGBA32F, GL_RGBA, GL_FLOAT, reals, grRealOrNormalized, 7, 16}};
    grImageBuffer image;  // reused: the second read needs larger storage
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Upload2D(c.internal, 1, 1, c.format, c.type, c.texels);
        ASSERT_TRUE(GetTextureImage(GL_TEXTURE_2D, 0, image));
        EXPECT_EQ(image.GetComponentKind(), c.kind);
        EXPECT_EQ(image.GetBitSize(), c.bits);
        ASSERT_EQ(image.GetBytes().size(), c.bytes);
        EXPECT_EQ(std::memcmp(image.GetData(), c.texels, c.bytes), 0);
    }
}
