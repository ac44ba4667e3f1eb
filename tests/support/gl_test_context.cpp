// The fixture around the platform's context (egl_ or wgl_gl_test_context.cpp).
#include "gl_test_context.h"

#include <GL/gl.h>

namespace wg_test {

bool make_gl_context_current() {
    static const bool ok = create_gl_context();
    return ok;
}

void GLTest::SetUpTestSuite() { make_gl_context_current(); }

void GLTest::SetUp() {
    ASSERT_TRUE(make_gl_context_current()) << "no GL context for this test";
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GLTest::TearDown() {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the test left a GL error pending";
}

}  // namespace wg_test
