#pragma once
// A real OpenGL context for tests, without an X server: EGL on Mesa's
// surfaceless platform, desktop GL compatibility profile, software rendering.

#include <gtest/gtest.h>

namespace wg_test {

// Makes a compatibility-profile context current on the calling thread.
// Returns false (and says why on stderr) when no context can be made.
bool make_gl_context_current();

// Base fixture for every *GLTest: the context is made once per process and
// each test must leave no GL error behind.
class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
};

}  // namespace wg_test
