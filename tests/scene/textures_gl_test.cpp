// Generated textures: the texel values, and what GL holds after upload.

#include "graphics/texture_object.h"
#include "scene/line_texture.h"
#include "scene/stipple_texture.h"

#include "gl_test_context.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace {

GLint tex_param(GLenum target, GLenum name) {
    GLint v = 0;
    glGetTexParameteriv(target, name, &v);
    return v;
}

// The texels GL holds for the texture of obj, read with format.
Bytes read_back(const libgr::grTextureObject& obj, GLenum format, std::size_t bytes) {
    Bytes texels(bytes, 0xEE);
    glBindTexture(obj.GetTarget(), obj.GetName());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(obj.GetTarget(), 0, format, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return texels;
}

class TexturesGLTest : public wg_test::GLTest {
protected:
    void SetUp() override {
        wg_test::GLTest::SetUp();
        GLint max_size = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
        ASSERT_GE(max_size, 512);  // the values below are those of the clamps
    }
};

}  // namespace

TEST_F(TexturesGLTest, LineProfilePeaksAt254AndUploadsWithItsParameters) {
    LineTexture tex;
    ASSERT_TRUE(tex.Generate());
    const Bytes& t = tex.GetImage();
    ASSERT_EQ(t.size(), 512u);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 6), (Bytes{0, 1, 3, 4, 6, 7}));
    EXPECT_EQ(Bytes(t.end() - 6, t.end()), (Bytes{7, 6, 4, 3, 1, 0}));
    EXPECT_EQ(*std::max_element(t.begin(), t.end()), 254);
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i] == 254, i >= 242 && i <= 269) << i;

    libgr::grTextureObject obj;
    ASSERT_TRUE(obj.Create(tex));
    EXPECT_EQ(read_back(obj, GL_LUMINANCE, 512), t);
    EXPECT_EQ(tex_param(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(tex_param(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    glBindTexture(GL_TEXTURE_1D, 0);
}

TEST_F(TexturesGLTest, BandedTextureAlternatesProfileAndBlackRows) {
    LineTexture line;
    LineTexture2 tex;
    ASSERT_TRUE(line.Generate() && tex.Generate());
    ASSERT_EQ(tex.GetSize(), 512u);
    const Bytes& t = tex.GetImage();
    const Bytes black(512, 0);
    for (std::uint32_t y = 0; y < 512; ++y) {
        const bool lit = y < 64 || (y >= 192 && y < 320) || y >= 448;
        EXPECT_EQ(Bytes(t.begin() + 512 * y, t.begin() + 512 * (y + 1)), lit ? line.GetImage() : black) << y;
    }

    libgr::grTextureObject obj;
    ASSERT_TRUE(obj.Create(tex));
    EXPECT_EQ(read_back(obj, GL_LUMINANCE, 512 * 512), t);
    for (GLenum p : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) EXPECT_EQ(tex_param(GL_TEXTURE_2D, p), GL_REPEAT);
    for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) EXPECT_EQ(tex_param(GL_TEXTURE_2D, p), GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TexturesGLTest, StipplePatternHasEachEvenValueTwice) {
    StippleTexture tex;
    ASSERT_TRUE(tex.Generate());
    const Bytes& t = tex.GetImage();
    ASSERT_EQ(t.size(), 256u);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 9), (Bytes{254, 252, 248, 250, 242, 240, 244, 246, 230}));
    EXPECT_EQ(t[127], 126);
    EXPECT_EQ(t[128], 126);
    std::map<int, int> seen;
    for (std::size_t i = 0; i < t.size(); ++i) {
        ++seen[t[i]];
        EXPECT_LE(std::bitset<8>(t[i] ^ t[(i + 1) % 256]).count(), 1u) << i;  // one bit per step, wrap included
    }
    ASSERT_EQ(seen.size(), 128u);
    for (const auto& [value, count] : seen) EXPECT_TRUE(value % 2 == 0 && count == 2) << value;

    libgr::grTextureObject obj;
    ASSERT_TRUE(obj.Create(tex));
    EXPECT_EQ(read_back(obj, GL_ALPHA, 256), t);
    EXPECT_EQ(tex_param(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(tex_param(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(tex_param(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    glBindTexture(GL_TEXTURE_1D, 0);
}
