#pragma once
// Test helper: runs a drawing in GL feedback mode under an orthographic
// projection of the cube [-extent, extent]^3 and returns the points and
// line ends GL received, mapped back to object coordinates.

#include <GL/gl.h>

#include <functional>
#include <vector>

namespace wg_test {

struct FeedbackVertex {
    float x, y, z;  // object coordinates
    float s;        // first texture coordinate
};

struct FeedbackResult {
    std::vector<FeedbackVertex> points;
    std::vector<FeedbackVertex> lines;  // two entries per segment
    bool complete = true;               // no overflow, no other tokens
};

inline FeedbackResult CaptureFeedback(float extent, std::size_t maxVertices, const std::function<void()>& draw) {
    constexpr std::size_t kFloats = 12;  // GL_4D_COLOR_TEXTURE in RGBA mode
    std::vector<GLfloat> buffer(maxVertices * (kFloats + 1) + 16);
    glPushAttrib(GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();

    FeedbackResult result;
    result.complete = used >= 0;
    // Window coordinates back through the 256-pixel viewport and the box;
    // window depth 0..1 is eye z from +extent to -extent.
    auto vertex = [&](std::size_t at) {
        const GLfloat* v = &buffer[at];
        return FeedbackVertex{(v[0] / 128.0f - 1.0f) * extent, (v[1] / 128.0f - 1.0f) * extent,
                              -(2.0f * v[2] - 1.0f) * extent, v[8]};
    };
    for (std::size_t i = 0; i < static_cast<std::size_t>(used < 0 ? 0 : used);) {
        const GLenum token = static_cast<GLenum>(buffer[i++]);
        const bool line = token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN;
        if (!line && token != GL_POINT_TOKEN) {
            result.complete = false;
            break;
        }
        for (int k = 0; k < (line ? 2 : 1); ++k, i += kFloats)
            (line ? result.lines : result.points).push_back(vertex(i));
    }
    return result;
}

}  // namespace wg_test
