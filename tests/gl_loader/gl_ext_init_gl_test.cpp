// The loader against Mesa: flags follow what the driver lists, entry points
// work, and start-up stays cheap.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "gl_loader/gl_ext.h"
#include "gl_test_context.h"

#include <chrono>
#include <cstdio>
#include <set>
#include <string>

namespace {

using GlExtInitGLTest = wg_test::GLTest;

TEST_F(GlExtInitGLTest, FlagsFollowTheDriverAndEntryPointsWork) {
    const auto start = std::chrono::steady_clock::now();
    gl_ext_init();
    const double init_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("gl_ext_init took %.2f ms\n", init_ms);
    EXPECT_LT(init_ms, 200.0);  // the budget is 20 ms; leave room for a loaded machine

    ASSERT_EQ(gl_ext::has_GL_ARB_multitexture, 1u);
    ASSERT_NE(gl_ext::glActiveTextureARB, nullptr);
    for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE0}) {
        gl_ext::glActiveTextureARB(unit);
        GLint active = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        EXPECT_EQ(active, static_cast<GLint>(unit));
    }
    EXPECT_NE(gl_ext::glBindImageTexture, nullptr);
    EXPECT_NE(gl_ext::glGetTextureLevelParameteriv, nullptr);
    EXPECT_NE(gl_ext::glGetTextureImage, nullptr);
    EXPECT_NE(gl_ext::glBlendColor, nullptr);  // a GL 1.4 command has a row too

    std::set<std::string> listed;  // one by one, as the core-profile path lists them
    GLint count = 0, major = 0, minor = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) listed.insert(reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, i)));
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    ASSERT_EQ(major * 10 + minor, 45);  // the test context asks for 4.5
    std::size_t known = 0, versions = 0;
    for (const gl_ext::row_t& row : gl_ext::rows) {
        int row_major = 0, row_minor = 0;
        if (std::sscanf(row.name, "GL_VERSION_%d_%d", &row_major, &row_minor) == 2) {
            ++versions;
            EXPECT_EQ(*row.flag, row_major * 10 + row_minor <= 45 ? 1u : 0u) << row.name;
        } else {
            known += listed.count(row.name);
            EXPECT_EQ(*row.flag, listed.count(row.name)) << row.name;
        }
    }
    EXPECT_EQ(versions, 17u);
    EXPECT_GT(known, listed.size() * 9 / 10) << "Mesa may be newer than the registry, but not by much";
}

}  // namespace
