// The loader's query on plain strings (no GL context), and the real query
// when no context is current.
#include "shell/gl_ext.h"
#include "shell/gl_ext_query.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The strings the fake driver hands out; tests set them before querying.
const char* g_version = "";
const char* g_extensions = "";
const char* fake_version() { return g_version; }
const char* fake_extensions() { return g_extensions; }

gl_ext::query_t fake_driver(const char* version, const char* extensions)
{
    g_version = version;
    g_extensions = extensions;
    return gl_ext::query_t(fake_version, fake_extensions);
}

std::vector<std::string> versions_of(const gl_ext::query_t& q)
{
    return {q.versions().begin(), q.versions().end()};
}

TEST(GlExtQueryTest, WholeWordsOnly)
{
    auto q = fake_driver("4.5", "GL_EXT_foo GL_ARB_texture_float GL_ARB_bar");
    EXPECT_EQ(q.supported("GL_ARB_texture_float"), 1);
    EXPECT_EQ(q.supported("GL_EXT_foo"), 1);  // first word
    EXPECT_EQ(q.supported("GL_ARB_bar"), 1);  // last word
    EXPECT_EQ(q.supported("GL_ARB_texture"), 0);
    EXPECT_EQ(q.supported("ARB_texture_float"), 0);

    auto suffix = fake_driver("4.5", "GL_EXT_foo xGL_ARB_texture_float");
    EXPECT_EQ(suffix.supported("GL_ARB_texture_float"), 0);
    // A later occurrence glued to an earlier one is not a word start either.
    EXPECT_FALSE(gl_ext::has_word("GL_aGL_a", "GL_a"));
    EXPECT_FALSE(gl_ext::has_word("aaa", "aa"));
    EXPECT_TRUE(gl_ext::has_word("aaa aa", "aa"));
}

TEST(GlExtQueryTest, SpacesAndEmptyNamesNeverMatch)
{
    auto q = fake_driver("4.5", "GL_A GL_B ");
    EXPECT_EQ(q.supported("GL_A GL_B"), 0);
    EXPECT_EQ(q.supported(""), 0);
    EXPECT_EQ(q.supported(" "), 0);
    EXPECT_EQ(q.supported(nullptr), 0);
}

TEST(GlExtQueryTest, VersionListNewestFirst)
{
    auto q = fake_driver("2.1.2 NVIDIA 300.1", "");
    EXPECT_EQ(q.supported("GL_VERSION_2_1"), 1);
    EXPECT_EQ(q.supported("GL_VERSION_1_4"), 1);
    EXPECT_EQ(q.supported("GL_VERSION_3_0"), 0);
    EXPECT_EQ(versions_of(q), (std::vector<std::string>{"GL_VERSION_2_1", "GL_VERSION_2_0",
                                  "GL_VERSION_1_5", "GL_VERSION_1_4", "GL_VERSION_1_3",
                                  "GL_VERSION_1_2"}));
}

TEST(GlExtQueryTest, VersionComparedNumberByNumber)
{
    EXPECT_FALSE(gl_ext::version_at_least("3.0", "3.0.0"));
    EXPECT_TRUE(gl_ext::version_at_least("3.0.0", "3.0.0"));
    EXPECT_TRUE(gl_ext::version_at_least("4.5 (Compatibility Profile) Mesa 22.3.6", "4.5.0"));
    EXPECT_FALSE(gl_ext::version_at_least("4.5 (Compatibility Profile) Mesa 22.3.6", "4.6.0"));
    EXPECT_TRUE(gl_ext::version_at_least("4.6.0 vendor", "4.5.0"));
    EXPECT_TRUE(gl_ext::version_at_least("10.0", "4.6.0"));  // numbers, not characters
    EXPECT_FALSE(gl_ext::version_at_least("1.10", "2.0.0"));
    EXPECT_FALSE(gl_ext::version_at_least("", "1.2.0"));

    auto q = fake_driver("4.5 (Compatibility Profile) Mesa 22.3.6", "");
    EXPECT_EQ(q.supported("GL_VERSION_4_5"), 1);
    EXPECT_EQ(q.supported("GL_VERSION_4_6"), 0);
    EXPECT_EQ(versions_of(q).size(), 16u);
}

TEST(GlExtQueryTest, ExtensionStringWinsAndWglStringIsNeverRead)
{
    // A 1.1 driver that lists a version name among its extensions.
    auto q = fake_driver("1.1", "GL_VERSION_1_3 GL_ARB_multitexture");
    EXPECT_EQ(q.supported("GL_VERSION_1_3"), 1);
    EXPECT_EQ(q.supported("GL_VERSION_1_2"), 0);
    EXPECT_EQ(q.supported("WGL_ARB_pixel_format"), 0);
    auto listed = fake_driver("4.5", "GL_ARB_multitexture WGL_ARB_pixel_format");
    EXPECT_EQ(listed.supported("WGL_ARB_pixel_format"), 1);
}

TEST(GlExtQueryTest, MissingStringsMeanNotSupported)
{
    auto q = fake_driver(nullptr, nullptr);
    EXPECT_EQ(q.supported("GL_ARB_multitexture"), 0);
    EXPECT_EQ(q.supported("GL_VERSION_1_2"), 0);
    EXPECT_TRUE(q.versions().empty());
    // The list was left empty, so a driver that answers later is asked again.
    g_version = "3.0 Mesa";
    g_extensions = "GL_ARB_multitexture";
    EXPECT_EQ(q.supported("GL_ARB_multitexture"), 1);
    EXPECT_EQ(q.supported("GL_VERSION_3_0"), 1);

    auto empty = fake_driver("", "");
    EXPECT_EQ(empty.supported("GL_ARB_multitexture"), 0);
    EXPECT_TRUE(empty.versions().empty());
}

TEST(GlExtQueryTest, NothingSupportedWithoutContext)
{
    EXPECT_EQ(gl_ext_supported("GL_ARB_multitexture"), 0);
    EXPECT_EQ(gl_ext_supported("GL_VERSION_1_2"), 0);
    gl_ext_init();
    EXPECT_EQ(gl_ext::has_GL_ARB_multitexture, 0u);
    EXPECT_EQ(gl_ext::glActiveTextureARB, nullptr);
}

}  // namespace
