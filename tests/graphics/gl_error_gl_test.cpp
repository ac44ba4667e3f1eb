// CheckGLError: one labelled line on stderr per pending error.

#include "graphics/gl_error.h"

#include "gl_test_context.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <iostream>
#include <string>

using libgr::CheckGLError;
using wg_test::GLTest;

TEST_F(GLTest, CheckGLErrorWithoutPendingErrorSaysNothing) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CheckGLError("quiet"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(GLTest, CheckGLErrorWritesTheLabelNumberAndGluText) {
    // GLU's own wording, so a GLU with other text still passes.
    const std::string text = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
    ASSERT_EQ(text, "invalid enumerant");

    glEnable(0x1234);  // not a capability: GL_INVALID_ENUM
    testing::internal::CaptureStderr();
    EXPECT_TRUE(CheckGLError("L"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "L: Error 1280: invalid enumerant\n");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // it took the error
}

TEST_F(GLTest, CheckGLErrorWithNullLabelWritesNoLabel) {
    glEnable(0x1234);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(CheckGLError(nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error 1280: invalid enumerant\n");
}
