// Texture read-back on a real context: texels uploaded, then read back
// through the bound target and through a texture object's own name.

#include "graphics/image_buffer.h"
#include "graphics/texturable.h"
#include "graphics/texture_object.h"
#include "graphics/texture_readback.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using libgr::GetTextureImage;
using libgr::grImageBuffer;
using libgr::grTextureObject;

namespace {

// A 1D luminance profile, dark at the ends and bright in the middle, like
// the scene's fade texture.
class ProfileImage : public libgr::grTexturableImageGL {
public:
    explicit ProfileImage(std::uint32_t n) : m_texels(n) {
        for (std::uint32_t i = 0; i < n; ++i) {
            const double x = static_cast<double>(i) / (n - 1);
            m_texels[i] = static_cast<std::uint8_t>(255.0 * std::sin(3.141592653589793 * x));
        }
    }
    unsigned GetDimension() const override { return 1; }
    void Apply() override {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage1D(GL_TEXTURE_1D, 0, GL_LUMINANCE, static_cast<GLsizei>(m_texels.size()), 0, GL_LUMINANCE,
                     GL_UNSIGNED_BYTE, m_texels.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    GLenum GetFormat() const override { return GL_LUMINANCE; }

    std::vector<std::uint8_t> m_texels;
};

// Read as RGBA, a luminance texel l becomes (l, 0, 0, 255).
void ExpectProfile(const grImageBuffer& image, const std::vector<std::uint8_t>& texels) {
    ASSERT_EQ(image.GetWidth(), texels.size());
    ASSERT_EQ(image.GetHeight(), 1u);
    EXPECT_EQ(image.GetComponentKind(), libgr::grRealOrNormalized);
    EXPECT_EQ(image.GetBitSize(), 3u);  // 8 bits
    EXPECT_EQ(image.GetPixelFormat(), libgr::grPixelFormatFour);
    ASSERT_EQ(image.GetBytes().size(), texels.size() * 4);
    const unsigned char* p = image.GetData();
    for (std::size_t i = 0; i < texels.size(); ++i) {
        ASSERT_EQ(p[4 * i], texels[i]) << "texel " << i;
        ASSERT_EQ(p[4 * i + 1], 0) << "texel " << i;
        ASSERT_EQ(p[4 * i + 2], 0) << "texel " << i;
        ASSERT_EQ(p[4 * i + 3], 255) << "texel " << i;
    }
}

GLint get_int(GLenum pname) {
    GLint v = 0;
    glGetIntegerv(pname, &v);
    return v;
}

class ReadbackGLTest : public wg_test::GLTest {
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
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindTexture(GL_TEXTURE_1D, 0);
        glBindTexture(GL_TEXTURE_3D, 0);
        glDeleteTextures(1, &m_name);
        wg_test::GLTest::TearDown();
    }
    // Binds the test texture to GL_TEXTURE_2D with the given texels.
    void Upload2D(GLenum internal, GLsizei w, GLsizei h, GLenum format, GLenum type, const void* texels) {
        glBindTexture(GL_TEXTURE_2D, m_name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, internal, w, h, 0, format, type, texels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }

    GLuint m_name = 0;
};

}  // namespace

TEST_F(ReadbackGLTest, BoundLuminanceTextureReadsBackEqual) {
    ProfileImage profile(512);
    glBindTexture(GL_TEXTURE_1D, m_name);
    profile.Apply();
    grImageBuffer image;
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_1D, 0, image));
    ExpectProfile(image, profile.m_texels);
    EXPECT_EQ(image.GetFlags(), 0u);
}

TEST_F(ReadbackGLTest, TextureObjectReadsBackEqual) {
    ASSERT_NE(gl_ext::glGetTextureImage, nullptr);
    ProfileImage profile(300);
    grTextureObject texture;
    ASSERT_TRUE(texture.Create(profile));
    grImageBuffer image;
    ASSERT_TRUE(texture.GetTextureImage(0, image));
    ExpectProfile(image, profile.m_texels);

    // A second read-back replaces the first.
    ProfileImage shorter(10);
    grTextureObject other;
    ASSERT_TRUE(other.Create(shorter));
    ASSERT_TRUE(other.GetTextureImage(0, image));
    ExpectProfile(image, shorter.m_texels);
}

TEST_F(ReadbackGLTest, TenBitRedIsNotRecognized) {
    Upload2D(GL_RGB10_A2, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, std::vector<std::uint8_t>(64, 9).data());
    grImageBuffer image;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "red size is not recognized.\n");
    EXPECT_TRUE(image.GetBytes().empty());

    grTextureObject none;  // the member form reads the same level through its name
    testing::internal::CaptureStderr();
    EXPECT_FALSE(none.GetTextureImage(0, image));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no texture"), std::string::npos);
}

TEST_F(ReadbackGLTest, TextureWithoutColourFailsSilently) {
    glBindTexture(GL_TEXTURE_2D, m_name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, 4, 4, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, nullptr);
    grImageBuffer image;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    EXPECT_FALSE(GetTextureImage(GL_TEXTURE_2D, 5, image));  // no such level
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ReadbackGLTest, RowsFollowTheImageAlignmentWhateverThePackState) {
    // 3 RGBA8 texels a row: 12 bytes, 16 with 8-byte alignment.
    std::vector<std::uint8_t> texels(3 * 2 * 4);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint8_t>(i + 1);
    Upload2D(GL_RGBA8, 3, 2, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 7);

    grImageBuffer image;
    image.SetPixelStore(libgr::grPixelStore{0, 8});
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    ASSERT_EQ(image.GetRowStride(), 16u);
    ASSERT_EQ(image.GetBytes().size(), 32u);
    EXPECT_EQ(std::memcmp(image.GetData(), texels.data(), 12), 0);
    EXPECT_EQ(std::memcmp(image.GetData() + 16, texels.data() + 12, 12), 0);
    // The caller's pack state is back.
    EXPECT_EQ(get_int(GL_PACK_ALIGNMENT), 1);
    EXPECT_EQ(get_int(GL_PACK_ROW_LENGTH), 7);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

TEST_F(ReadbackGLTest, IntegerAndFloatTexelsKeepTheirKindAndWidth) {
    const std::uint16_t integers[4] = {1, 2, 40000, 65535};
    Upload2D(GL_RGBA16UI, 1, 1, GL_RGBA_INTEGER, GL_UNSIGNED_SHORT, integers);
    grImageBuffer image;
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    EXPECT_EQ(image.GetComponentKind(), libgr::grUnsignedInteger);
    EXPECT_EQ(image.GetBitSize(), 5u);  // 16 bits
    ASSERT_EQ(image.GetBytes().size(), 8u);
    EXPECT_EQ(std::memcmp(image.GetData(), integers, 8), 0);

    const float reals[4] = {0.25f, -2.0f, 1e6f, 0.5f};
    Upload2D(GL_RGBA32F, 1, 1, GL_RGBA, GL_FLOAT, reals);
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_2D, 0, image));
    EXPECT_EQ(image.GetComponentKind(), libgr::grRealOrNormalized);
    EXPECT_EQ(image.GetBitSize(), 7u);  // 32 bits
    ASSERT_EQ(image.GetBytes().size(), 16u);
    EXPECT_EQ(std::memcmp(image.GetData(), reals, 16), 0);
}

TEST_F(ReadbackGLTest, SlicesOfA3DTextureFollowTheFirst) {
    std::vector<std::uint8_t> texels(2 * 2 * 3 * 4);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint8_t>(3 * i);
    glBindTexture(GL_TEXTURE_3D, m_name);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA8, 2, 2, 3, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    grImageBuffer image;
    ASSERT_TRUE(GetTextureImage(GL_TEXTURE_3D, 0, image));
    EXPECT_EQ(image.GetHeight(), 2u);
    EXPECT_EQ(image.GetExtraRows(), 4u);
    ASSERT_EQ(image.GetBytes().size(), texels.size());
    EXPECT_EQ(std::memcmp(image.GetData(), texels.data(), texels.size()), 0);
}

TEST_F(ReadbackGLTest, MemberFormNeedsTheLoadedEntryPoints) {
    ProfileImage profile(16);
    grTextureObject texture;
    ASSERT_TRUE(texture.Create(profile));
    const auto saved = gl_ext::glGetTextureImage;
    gl_ext::glGetTextureImage = nullptr;
    grImageBuffer image;
    testing::internal::CaptureStderr();
    const bool read = texture.GetTextureImage(0, image);
    const std::string err = testing::internal::GetCapturedStderr();
    gl_ext::glGetTextureImage = saved;
    EXPECT_FALSE(read);
    EXPECT_NE(err.find("not loaded"), std::string::npos) << err;
    EXPECT_TRUE(image.GetBytes().empty());
}
