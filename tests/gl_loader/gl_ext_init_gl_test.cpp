// gl_ext_init against Mesa: the entry point the scene calls works, each flag follows the driver.
#include <GL/gl.h>
#include <GL/glext.h>

#include "gl_loader/gl_ext.h"
#include "gl_test_context.h"

#include <cstdio>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

using GlExtInitGLTest = wg_test::GLTest;

TEST_F(GlExtInitGLTest, FlagsFollowTheDriverAndEntryPointsWork) {
    gl_ext_init();
    gl_ext::glActiveTextureARB(GL_TEXTURE1);
    GLint active = 0, major = 0, minor = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE1);
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    // The words of the driver's extension string; on Windows it names WGL extensions too.
    std::istringstream words(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    const std::set<std::string> listed{std::istream_iterator<std::string>(words), {}};
    for (const gl_ext::row_t& row : gl_ext::rows) {
        int row_major = 0, row_minor = 0;
        const bool version = std::sscanf(row.name, "GL_VERSION_%d_%d", &row_major, &row_minor) == 2;
        EXPECT_EQ(*row.flag, version ? row_major * 10 + row_minor <= major * 10 + minor : listed.count(row.name))
            << row.name;
    }
}
