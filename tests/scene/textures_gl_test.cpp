// Generated textures: the texel values, and what GL holds after upload.

#include "gl_loader/gl_ext.h"
#include "graphics/image_buffer.h"
#include "graphics/texture_object.h"
#include "graphics/texture_readback.h"
#include "scene/line_texture.h"
#include "scene/stipple_texture.h"

#include "gl_test_context.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using TexturesGLTest = wg_test::GLTest;

namespace {

// Uploads tex through a texture object; GL must hold its texels (read as
// format) and the given sampling parameters.
template <class Texture>
void expect_uploaded(Texture& tex, GLenum format, std::initializer_list<std::pair<GLenum, GLint>> params) {
    libgr::grTextureObject obj;
    ASSERT_TRUE(obj.Create(tex));
    const GLenum target = obj.GetTarget();
    glBindTexture(target, obj.GetName());
    Bytes texels(tex.GetImage().size(), 0xEE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, format, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(texels, tex.GetImage());
    for (const auto& [name, value] : params) {
        GLint v = 0;
        glGetTexParameteriv(target, name, &v);
        EXPECT_EQ(v, value) << "parameter " << std::hex << name;
    }
    glBindTexture(target, 0);
}

}  // namespace

// The sizes below are the clamps: llvmpipe's maximum is far larger.
TEST_F(TexturesGLTest, LineProfilesPeakAt254AndBandsAlternateWithBlack) {
    LineTexture line;
    ASSERT_TRUE(line.Generate());
    const Bytes& t = line.GetImage();
    ASSERT_EQ(t.size(), 512u);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 6), (Bytes{0, 1, 3, 4, 6, 7}));
    EXPECT_EQ(Bytes(t.rbegin(), t.rbegin() + 6), (Bytes{0, 1, 3, 4, 6, 7}));
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i] == 254, i >= 242 && i <= 269) << i;
    EXPECT_EQ(*std::max_element(t.begin(), t.end()), 254);
    expect_uploaded(line, GL_LUMINANCE, {{GL_TEXTURE_WRAP_S, GL_REPEAT}, {GL_TEXTURE_MIN_FILTER, GL_LINEAR}});

    LineTexture2 banded;
    ASSERT_TRUE(banded.Generate());
    ASSERT_EQ(banded.GetSize(), 512u);
    const Bytes& b = banded.GetImage();
    for (std::uint32_t y = 0; y < 512; ++y) {
        const bool lit = y < 64 || (y >= 192 && y < 320) || y >= 448;
        EXPECT_EQ(Bytes(b.begin() + 512 * y, b.begin() + 512 * (y + 1)), lit ? t : Bytes(512, 0)) << y;
    }
    expect_uploaded(banded, GL_LUMINANCE,
                    {{GL_TEXTURE_WRAP_S, GL_REPEAT},
                     {GL_TEXTURE_WRAP_T, GL_REPEAT},
                     {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                     {GL_TEXTURE_MAG_FILTER, GL_LINEAR}});
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
    for (std::uint8_t v : t) ++seen[v];
    ASSERT_EQ(seen.size(), 128u);
    for (const auto& [value, count] : seen) EXPECT_TRUE(value % 2 == 0 && count == 2) << value;
    expect_uploaded(
        tex, GL_ALPHA,
        {{GL_TEXTURE_WRAP_S, GL_REPEAT}, {GL_TEXTURE_MAG_FILTER, GL_NEAREST}, {GL_TEXTURE_MIN_FILTER, GL_LINEAR}});
}

// The library's read-back, both forms, returns the profile as red of RGBA.
TEST_F(TexturesGLTest, LineTextureReadsBackThroughTheLibrary) {
    gl_ext_init();
    LineTexture line;
    ASSERT_TRUE(line.Generate());
    libgr::grTextureObject obj;
    ASSERT_TRUE(obj.Create(line));
    for (bool member : {true, false}) {
        SCOPED_TRACE(member ? "member" : "bound target");
        libgr::grImageBuffer image;
        ASSERT_TRUE(member ? obj.GetTextureImage(0, image) : libgr::GetTextureImage(GL_TEXTURE_1D, 0, image));
        ASSERT_EQ(image.GetWidth(), 512u);
        const unsigned char* rgba = image.GetData();
        Bytes red(512);
        for (std::size_t i = 0; i < red.size(); ++i) red[i] = rgba[4 * i];
        EXPECT_EQ(red, line.GetImage());
    }
    glBindTexture(GL_TEXTURE_1D, 0);
}
