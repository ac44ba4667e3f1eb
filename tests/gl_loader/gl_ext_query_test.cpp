// The loader's query on injected driver strings, and the real one with no context current.
#include "gl_loader/gl_ext_query.h"
#include "gl_loader/gl_ext.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

static const char *g_version = "", *g_extensions = "";  // what the fake driver hands out

TEST(GlExtQueryTest, WholeWordsOfTheExtensionStringAndTheVersionsTheDriverReaches) {
    using names_t = std::vector<const char*>;  // version and extension strings, names offered, names not
    const std::tuple<const char*, const char*, names_t, names_t> cases[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6",  // the vendor text reads as 4.5.0
         "GL_EXT_foo GL_ARB_texture_float xGL_ARB_bar",
         {"GL_EXT_foo", "GL_ARB_texture_float", "GL_VERSION_4_5"},
         {"GL_ARB_texture", "GL_ARB_bar", "GL_EXT_foo GL_ARB_texture_float", "", " ", nullptr, "GL_VERSION_4_6"}},
        {"4.5", "GL_aGL_a aaa", {"aaa"}, {"GL_a", "aa"}},     // a hit glued to another starts no word
        {"3.0", "", {"GL_VERSION_2_1"}, {"GL_VERSION_3_0"}},  // the string ends, the row 3.0.0 goes on
        {"1.1", "GL_VERSION_1_3", {"GL_VERSION_1_3"}, {"GL_VERSION_1_2"}},
        {nullptr, nullptr, {}, {"GL_VERSION_1_2", "GL_ARB_multitexture"}},
        {"", "", {}, {"GL_VERSION_1_2"}},
    };
    for (const auto& [version, extensions, found, not_found] : cases) {
        g_version = version, g_extensions = extensions;
        gl_ext::query_t q([] { return g_version; }, [] { return g_extensions; });
        SCOPED_TRACE(version ? version : "null");
        for (const char* name : found) EXPECT_EQ(q.supported(name), 1) << name;
        for (const char* name : not_found) EXPECT_EQ(q.supported(name), 0) << (name ? name : "null");
    }
    EXPECT_FALSE(gl_ext::has_word("GL_a", ""));
    gl_ext::query_t q([] { return "2.1.2 NVIDIA 300.1"; }, [] { return ""; });
    q.supported("GL_ARB_multitexture");
    EXPECT_EQ(std::vector<std::string>(q.versions().begin(), q.versions().end()),
              (std::vector<std::string>{"GL_VERSION_2_1", "GL_VERSION_2_0", "GL_VERSION_1_5", "GL_VERSION_1_4",
                                        "GL_VERSION_1_3", "GL_VERSION_1_2"}));
    EXPECT_TRUE(gl_ext::version_at_least("10.0", "4.6.0"));                // numbers, not characters
    EXPECT_FALSE(gl_ext::version_at_least("1.123456780", "1.123456789"));  // exact to nine digits
    EXPECT_EQ(gl_ext_supported("GL_VERSION_1_2"), 0);                      // the real query, no context current
    gl_ext_init();
    EXPECT_EQ(gl_ext::glActiveTextureARB, nullptr);
}
