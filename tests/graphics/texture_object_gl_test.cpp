// grTextureObject: a texture name made from an image, shared by copies and
// deleted by the last holder.

#include "graphics/texture_object.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"

#include <vector>

using namespace libgr;

namespace {

// Four texels in GL_R8, a format that can also be bound as a shader image.
class SmallImage : public grTexturableImageGL {
public:
    unsigned GetDimension() const override { return m_dimension; }
    void Apply() override {
        glTexImage1D(GL_TEXTURE_1D, 0, GL_R8, 4, 0, GL_RED, GL_UNSIGNED_BYTE, m_texels);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }
    GLenum GetFormat() const override { return GL_R8; }
    unsigned char m_texels[4] = {10, 20, 30, 40};
    unsigned m_dimension = 1;
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

TEST_F(TextureObjectGLTest, BeforeCreateNothingHappens) {
    grTextureObject tex;
    EXPECT_FALSE(tex.IsLoaded() || tex.IsResident());
    EXPECT_EQ(tex.GetDimension(), 0u);
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_1D, other);
    tex.Apply();
    tex.Refresh();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), static_cast<GLint>(other));
    glBindTexture(GL_TEXTURE_1D, 0);
    glDeleteTextures(1, &other);

    SmallImage no_target;
    no_target.m_dimension = 4;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tex.Create(no_target));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("dimension 4"), std::string::npos);
    EXPECT_EQ(tex.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
}

TEST_F(TextureObjectGLTest, CreateUploadsApplyBindsRefreshUploadsAgain) {
    SmallImage image;
    grTextureObject tex;
    ASSERT_TRUE(tex.Create(image));
    const GLuint name = tex.GetName();
    EXPECT_TRUE(tex.IsLoaded() && tex.IsResident());
    EXPECT_EQ(tex.GetDimension(), 1u);
    EXPECT_EQ(read_back(name), (std::vector<unsigned char>{10, 20, 30, 40}));

    tex.Apply();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), static_cast<GLint>(name));
    tex.Unapply();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_1D), 0);

    image.m_texels[0] = 99;
    tex.Refresh();
    EXPECT_EQ(read_back(name)[0], 99);
    ASSERT_TRUE(tex.Create(image));
    EXPECT_EQ(tex.GetName(), name);
}

TEST_F(TextureObjectGLTest, CopiesShareTheTextureAndTheLastHolderDeletesIt) {
    SmallImage image;
    auto* original = new grTextureObject;
    original->Create(image);
    const GLuint name = original->GetName();
    grTextureObject other;
    other.Create(image);
    const GLuint other_name = other.GetName();
    {
        grTextureObject copy(*original);
        delete original;
        EXPECT_TRUE(glIsTexture(name) && copy.IsLoaded());
        other = copy;  // other was the only holder of its texture
        EXPECT_FALSE(glIsTexture(other_name));
        other = static_cast<const grTextureObject&>(other);  // self-assignment
    }
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(other.GetName(), name);
    other.Release();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_FALSE(other.IsLoaded());
    EXPECT_EQ(other.GetTarget(), static_cast<GLenum>(GL_INVALID_VALUE));
}

TEST_F(TextureObjectGLTest, BindImageNeedsTheEntryPoint) {
    ASSERT_NE(gl_ext::glBindImageTexture, nullptr);
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
