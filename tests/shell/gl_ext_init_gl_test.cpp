// The loader against Mesa: flags follow what the driver lists, entry points
// work, and start-up stays cheap.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "gl_test_context.h"
#include "shell/gl_ext.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

class GlExtInitGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite()
    {
        wg_test::GLTest::SetUpTestSuite();
        const auto start = std::chrono::steady_clock::now();
        gl_ext_init();
        s_init_ms = std::chrono::duration<double, std::milli>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    }

    // The driver's extensions, one by one, as the core-profile path lists them.
    static std::set<std::string> driver_extensions()
    {
        std::set<std::string> names;
        GLint count = 0;
        glGetIntegerv(GL_NUM_EXTENSIONS, &count);
        for (GLint i = 0; i < count; ++i)
            names.insert(reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, i)));
        return names;
    }

    static double s_init_ms;
};

double GlExtInitGLTest::s_init_ms = 0;

TEST_F(GlExtInitGLTest, StartUpIsCheap)
{
    std::printf("gl_ext_init took %.2f ms\n", s_init_ms);
    EXPECT_LT(s_init_ms, 200.0);  // the budget is 20 ms; leave room for a loaded machine
}

TEST_F(GlExtInitGLTest, MultitextureEntryPointSwitchesUnit)
{
    ASSERT_EQ(gl_ext::has_GL_ARB_multitexture, 1u);
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    gl_ext::glActiveTextureARB(GL_TEXTURE1);
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE1);
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_NE(gl_ext::glBindImageTexture, nullptr);
    EXPECT_NE(gl_ext::glGetTextureLevelParameteriv, nullptr);
    EXPECT_NE(gl_ext::glGetTextureImage, nullptr);
}

TEST_F(GlExtInitGLTest, ExtensionFlagsFollowDriverList)
{
    const std::set<std::string> listed = driver_extensions();
    ASSERT_GT(listed.size(), 100u);
    std::set<std::string> known;
    for (const gl_ext::row_t& row : gl_ext::rows) {
        known.insert(row.name);
        if (std::strstr(row.name, "_VERSION_") == nullptr) {
            EXPECT_EQ(*row.flag, listed.count(row.name)) << row.name;
        }
    }
    std::size_t unknown = 0;
    for (const std::string& name : listed)
        unknown += known.count(name) == 0;
    // Mesa may be newer than the registry, but not by much.
    EXPECT_LT(unknown, listed.size() / 10);
}

TEST_F(GlExtInitGLTest, VersionFlagsFollowDriverVersion)
{
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    ASSERT_EQ(major * 10 + minor, 45);  // the test context asks for 4.5
    int versions = 0;
    for (const gl_ext::row_t& row : gl_ext::rows) {
        int row_major = 0, row_minor = 0;
        if (std::sscanf(row.name, "GL_VERSION_%d_%d", &row_major, &row_minor) != 2)
            continue;
        ++versions;
        const bool reached = row_major * 10 + row_minor <= major * 10 + minor;
        EXPECT_EQ(*row.flag, reached ? 1u : 0u) << row.name;
    }
    EXPECT_EQ(versions, 17);
    EXPECT_NE(gl_ext::glBlendColor, nullptr);  // a GL 1.4 command has a row too
}

}  // namespace
