#pragma once
// A real OpenGL context for tests: desktop GL, compatibility profile, software
// rendering, nothing on the screen. Each platform makes it in its own file.

#include <gtest/gtest.h>

// Every GL name, as Mesa's gl.h gives them on Linux; Windows' stops at 1.1.
#include <GL/gl.h>
#include <GL/glext.h>

namespace wg_test {

// Makes a compatibility-profile context current on the calling thread.
// Returns false (and says why on stderr) when no context can be made.
bool make_gl_context_current();

// The platform's part, run once by the above (egl_ or wgl_gl_test_context.cpp).
bool create_gl_context();

// Base fixture for every *GLTest: the context is made once per process and
// each test must leave no GL error behind.
class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
};

}  // namespace wg_test
