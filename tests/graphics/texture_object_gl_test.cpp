// grTextureObject: a texture name made from an image, shared by copies and
// deleted by the last holder.

#include "graphics/texture_object.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"

#include <type_traits>
#include <vector>

using namespace libgr;

namespace {

// Four luminance texels; the format is GL_R8 so that it can also be bound
// as a shader image.
class SmallImage : public grTexturableImageGL {
public:
    unsigned GetDimension() const override { return 1; }
    void Apply() override {
        glTexImage1D(GL_TEXTURE_1D, 0, GL_R8, 4, 0, GL_RED, GL_UNSIGNED_BYTE, m_texels);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }
    GLenum GetFormat() const override { return GL_R8; }
    unsigned char m_texels[4] = {10, 20, 30, 40};
};

// Claims a dimension no texture target has.
class NoTarget : public grTexturableImageGL {
public:
    unsigned GetDimension() const override { return 4; }
    void Apply() override {}
    GLenum GetFormat() const override { return GL_RED; }
};

std::vector<unsigned char> read_back(GLuint name) {
    std::vector<unsigned char> texels(4);
    glBindTexture(GL_TEXTURE_1D, name);
    glGetTexImage(GL_TEXTURE_1D, 0, GL_RED, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_1D, 0);
    return texels;
}

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

class TextureObjectGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        gl_ext_init();
    }
};

}  // namespace

static_assert(std::is_copy_constructible_v<grTextureObject> && std::is_copy_assignable_v<grTextureObject>);

TEST_F(TextureObjectGLTest, BeforeCreateNothingHappens) {
    grTextureObject tex;
    EXPECT_FALSE(tex.IsLoaded());
    EXPECT_EQ(tex.GetDimension(), 0u);
    EXPECT_EQ(tex.GetTarget(), static_cast<GLenum>(GL_INVALID_VALUE));
    EXPECT_EQ(tex.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    EXPECT_FALSE(tex.IsResident());

    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    tex.Apply();
    tex.Refresh();
    tex.Unapply();
    tex.BindImage(0, 0, GL_READ_ONLY);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_2D), static_cast<GLint>(other));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &other);
}

TEST_F(TextureObjectGLTest, CreateUploadsAndApplyBindsAndEnables) {
    SmallImage image;
    grTextureObject tex;
    ASSERT_TRUE(tex.Create(image));
    EXPECT_TRUE(tex.IsLoaded());
    EXPECT_EQ(tex.GetDimension(), 1u);
    EXPECT_EQ(tex.GetTarget(), static_cast<GLenum>(GL_TEXTURE_1D));
    EXPECT_TRUE(glIsTexture(tex.GetName()));
    EXPECT_TRUE(tex.IsResident());
    EXPECT_EQ(read_back(tex.GetName()), (std::vector<unsigned char>{10, 20, 30, 40}));

    tex.Apply();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), static_cast<GLint>(tex.GetName()));
    tex.Unapply();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), 0);
}

TEST_F(TextureObjectGLTest, CreateAgainAndRefreshKeepTheNameAndUploadAgain) {
    SmallImage image;
    grTextureObject tex;
    tex.Create(image);
    const GLuint name = tex.GetName();
    image.m_texels[0] = 99;
    tex.Refresh();
    EXPECT_EQ(read_back(name)[0], 99);
    image.m_texels[1] = 77;
    tex.Create(image);
    EXPECT_EQ(tex.GetName(), name);
    EXPECT_EQ(read_back(name)[1], 77);
}

TEST_F(TextureObjectGLTest, CreateRefusesADimensionWithoutTarget) {
    NoTarget image;
    grTextureObject tex;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tex.Create(image));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("dimension 4"), std::string::npos);
    EXPECT_FALSE(tex.IsLoaded());
    EXPECT_EQ(tex.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
}

TEST_F(TextureObjectGLTest, CopiesShareTheTextureAndTheLastHolderDeletesIt) {
    SmallImage image;
    auto* original = new grTextureObject;
    original->Create(image);
    const GLuint name = original->GetName();
    grTextureObject assigned;
    {
        grTextureObject copy(*original);
        EXPECT_EQ(copy.GetName(), name);
        EXPECT_TRUE(copy.IsLoaded());
        delete original;
        EXPECT_TRUE(glIsTexture(name));
        assigned = copy;
        const grTextureObject& same = assigned;
        assigned = same;
    }
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(assigned.GetName(), name);
    assigned.Release();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_FALSE(assigned.IsLoaded());
    EXPECT_EQ(assigned.GetTarget(), static_cast<GLenum>(GL_INVALID_VALUE));
}

TEST_F(TextureObjectGLTest, AssignmentReleasesTheOldTexture) {
    SmallImage image;
    grTextureObject a, b;
    a.Create(image);
    b.Create(image);
    const GLuint old = a.GetName();
    a = b;
    EXPECT_FALSE(glIsTexture(old));
    EXPECT_EQ(a.GetName(), b.GetName());
}

TEST_F(TextureObjectGLTest, BindImageUsesTheEntryPointOnlyWhenLoaded) {
    ASSERT_NE(gl_ext::glBindImageTexture, nullptr);
    ASSERT_NE(gl_ext::glGetIntegeri_v, nullptr);
    SmallImage image;
    grTextureObject tex;
    tex.Create(image);
    auto bound_name = [] {
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
