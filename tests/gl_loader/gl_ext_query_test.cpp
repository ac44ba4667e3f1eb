// The loader's query on injected driver strings (no GL context), and the real
// query when no context is current.
#include "gl_loader/gl_ext_query.h"
#include "gl_loader/gl_ext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The strings the fake driver hands out.
const char* g_version = "";
const char* g_extensions = "";

TEST(GlExtQueryTest, WholeWordsOfTheExtensionStringAndTheVersionsTheDriverReaches) {
    const struct {
        const char *version, *extensions;
        std::vector<const char*> found, not_found;
    } cases[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6",  // the vendor text reads as 4.5.0
         "GL_EXT_foo GL_ARB_texture_float xGL_ARB_bar",
         {"GL_EXT_foo", "GL_ARB_texture_float", "GL_VERSION_4_5"},
         {"GL_ARB_texture", "ARB_texture_float", "GL_ARB_bar", "GL_EXT_foo GL_ARB_texture_float", "", " ", nullptr,
          "GL_VERSION_4_6"}},
        {"4.5", "GL_aGL_a aaa", {"aaa"}, {"GL_a", "aa"}},     // a hit glued to another starts no word
        {"3.0", "", {"GL_VERSION_2_1"}, {"GL_VERSION_3_0"}},  // the string ends, the row 3.0.0 goes on
        {"1.1", "GL_VERSION_1_3", {"GL_VERSION_1_3"}, {"GL_VERSION_1_2"}},
        {nullptr, nullptr, {}, {"GL_VERSION_1_2", "GL_ARB_multitexture"}},
        {"", "", {}, {"GL_VERSION_1_2"}},
    };
    for (const auto& c : cases) {
        g_version = c.version, g_extensions = c.extensions;
        gl_ext::query_t q([] { return g_version; }, [] { return g_extensions; });
        const std::string where = std::string(c.version ? c.version : "null") + " / ";
        for (const char* name : c.found) EXPECT_EQ(q.supported(name), 1) << where << name;
        for (const char* name : c.not_found) EXPECT_EQ(q.supported(name), 0) << where << (name ? name : "null");
        EXPECT_FALSE(gl_ext::has_word(c.extensions ? c.extensions : "", ""));
    }
    gl_ext::query_t q([] { return "2.1.2 NVIDIA 300.1"; }, [] { return ""; });
    q.supported("GL_ARB_multitexture");
    EXPECT_EQ(std::vector<std::string>(q.versions().begin(), q.versions().end()),
              (std::vector<std::string>{"GL_VERSION_2_1", "GL_VERSION_2_0", "GL_VERSION_1_5", "GL_VERSION_1_4",
                                        "GL_VERSION_1_3", "GL_VERSION_1_2"}));
    EXPECT_TRUE(gl_ext::version_at_least("10.0", "4.6.0"));                // numbers, not characters
    EXPECT_FALSE(gl_ext::version_at_least("1.123456780", "1.123456789"));  // exact to nine digits

    // The real query with no context current, and a loader run against it.
    EXPECT_EQ(gl_ext_supported("GL_VERSION_1_2"), 0);
    gl_ext_init();
    EXPECT_EQ(gl_ext::glActiveTextureARB, nullptr);
}

}  // namespace
