// The loader's query on injected driver strings (no GL context), and the real
// query when no context is current.
#include "gl_loader/gl_ext_query.h"
#include "gl_loader/gl_ext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The strings the fake driver hands out; tests set them before querying.
const char* g_version = "";
const char* g_extensions = "";

gl_ext::query_t fake_driver(const char* version, const char* extensions) {
    g_version = version;
    g_extensions = extensions;
    return gl_ext::query_t([] { return g_version; }, [] { return g_extensions; });
}

TEST(GlExtQueryTest, WholeWordsOfTheExtensionStringAndTheVersionList) {
    const struct {
        const char* version;
        const char* extensions;
        std::vector<const char*> found, not_found;
    } cases[] = {
        {"4.5",
         "GL_EXT_foo GL_ARB_texture_float GL_ARB_bar",
         {"GL_EXT_foo", "GL_ARB_texture_float", "GL_ARB_bar"},
         {"GL_ARB_texture", "ARB_texture_float", "GL_EXT_foo GL_ARB_texture_float", "", " ", nullptr}},
        {"4.5", "GL_EXT_foo xGL_ARB_texture_float", {}, {"GL_ARB_texture_float"}},
        // A hit glued to an earlier one starts no word, and the search goes on past it.
        {"4.5", "aaa", {}, {"aa"}},
        {"4.5", "GL_aGL_a aaa aa", {"aa"}, {"GL_a"}},
        {"2.1.2 NVIDIA 300.1", "", {"GL_VERSION_2_1", "GL_VERSION_1_2"}, {"GL_VERSION_3_0"}},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", "", {"GL_VERSION_4_5"}, {"GL_VERSION_4_6"}},
        // A version listed as an extension is found; WGL names only in the GL string.
        {"1.1", "GL_VERSION_1_3 GL_ARB_multitexture", {"GL_VERSION_1_3"}, {"GL_VERSION_1_2", "WGL_ARB_pixel_format"}},
        {"4.5", "GL_ARB_multitexture WGL_ARB_pixel_format", {"WGL_ARB_pixel_format"}, {}},
    };
    for (const auto& c : cases) {
        auto q = fake_driver(c.version, c.extensions);
        for (const char* name : c.found) EXPECT_EQ(q.supported(name), 1) << c.extensions << " / " << name;
        for (const char* name : c.not_found)
            EXPECT_EQ(q.supported(name), 0) << c.extensions << " / " << (name ? name : "null");
    }
}

TEST(GlExtQueryTest, VersionsComparedNumberByNumberAndListedNewestFirst) {
    const struct {
        const char* driver;
        const char* lowest;
        bool expected;
    } cases[] = {
        {"3.0", "3.0.0", false},
        {"3.0.0", "3.0.0", true},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", "4.5.0", true},
        {"4.6.0 vendor", "4.5.0", true},
        {"10.0", "4.6.0", true},  // numbers, not characters
        {"1.10", "2.0.0", false},
        {"", "1.2.0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gl_ext::version_at_least(c.driver, c.lowest), c.expected) << c.driver << " vs " << c.lowest;

    auto q = fake_driver("2.1.2 NVIDIA 300.1", "");
    q.supported("GL_ARB_multitexture");
    EXPECT_EQ(std::vector<std::string>(q.versions().begin(), q.versions().end()),
              (std::vector<std::string>{"GL_VERSION_2_1", "GL_VERSION_2_0", "GL_VERSION_1_5", "GL_VERSION_1_4",
                                        "GL_VERSION_1_3", "GL_VERSION_1_2"}));
}

TEST(GlExtQueryTest, MissingStringsMeanNotSupportedUntilTheDriverAnswers) {
    auto q = fake_driver(nullptr, nullptr);
    EXPECT_EQ(q.supported("GL_ARB_multitexture"), 0);
    EXPECT_EQ(q.supported("GL_VERSION_1_2"), 0);
    EXPECT_TRUE(q.versions().empty());
    g_version = "3.0 Mesa";  // the list was left empty, so it is built again
    g_extensions = "GL_ARB_multitexture";
    EXPECT_EQ(q.supported("GL_ARB_multitexture"), 1);
    EXPECT_EQ(q.supported("GL_VERSION_3_0"), 1);
    EXPECT_EQ(fake_driver("", "").supported("GL_VERSION_1_2"), 0);

    // The real query with no context current, and a loader run against it.
    EXPECT_EQ(gl_ext_supported("GL_ARB_multitexture"), 0);
    EXPECT_EQ(gl_ext_supported("GL_VERSION_1_2"), 0);
    gl_ext_init();
    EXPECT_EQ(gl_ext::has_GL_ARB_multitexture, 0u);
    EXPECT_EQ(gl_ext::glActiveTextureARB, nullptr);
}

}  // namespace
