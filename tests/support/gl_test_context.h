#pragma once
// A real OpenGL context for tests: desktop GL, compatibility profile, software rendering, nothing on the screen.

#include <gtest/gtest.h>

// Every GL name, as Mesa's gl.h gives them on Linux; Windows' stops at 1.1.
#include <GL/gl.h>
#include <GL/glext.h>

namespace wg_test {

// Makes the context current on the calling thread, or says why not on stderr
// and returns false: each platform in its own egl_ or wgl_gl_test_context.cpp.
bool create_gl_context();

// Base fixture for every *GLTest: the context is made once per process and each test must leave no GL error behind.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool made = create_gl_context();
        ASSERT_TRUE(made) << "no GL context for this test";
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the test left a GL error pending";
    }
};

}  // namespace wg_test
