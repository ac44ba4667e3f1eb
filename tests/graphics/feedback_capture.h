#pragma once
// Test helper: runs a drawing in GL feedback mode under an orthographic
// projection of the cube [-extent, extent]^3 and returns the points and
// line segments GL received, mapped back to object coordinates.

#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace wg_test {

struct FeedbackVertex {
    float x, y, z;  // object coordinates (before the modelview matrix)
    float s;        // first texture coordinate
};

struct FeedbackResult {
    std::vector<FeedbackVertex> points;
    std::vector<FeedbackVertex> lines;  // two entries per segment
    bool overflowed = false;
    int otherTokens = 0;
};

// floats_per_vertex of GL_4D_COLOR_TEXTURE in RGBA mode: 4 + 4 + 4.
constexpr std::size_t kFeedbackVertexFloats = 12;

inline FeedbackResult CaptureFeedback(float extent, std::size_t maxVertices, const std::function<void()>& draw) {
    const int viewport_size = 256;
    std::vector<GLfloat> buffer(maxVertices * (kFeedbackVertexFloats + 1) + 16);

    GLint old_viewport[4];
    glGetIntegerv(GL_VIEWPORT, old_viewport);
    glViewport(0, 0, viewport_size, viewport_size);
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
    glMatrixMode(GL_MODELVIEW);
    glViewport(old_viewport[0], old_viewport[1], old_viewport[2], old_viewport[3]);

    FeedbackResult result;
    if (used < 0) {
        result.overflowed = true;
        return result;
    }
    const float half = viewport_size / 2.0f;
    auto read_vertex = [&](std::size_t at) {
        const GLfloat* v = &buffer[at];
        // Window x/y back through the viewport and the orthographic box;
        // window depth 0..1 maps to eye z from +extent to -extent.
        FeedbackVertex out;
        out.x = (v[0] / half - 1.0f) * extent;
        out.y = (v[1] / half - 1.0f) * extent;
        out.z = -(2.0f * v[2] - 1.0f) * extent;
        out.s = v[8];
        return out;
    };
    std::size_t i = 0;
    const std::size_t n = static_cast<std::size_t>(used);
    while (i < n) {
        const GLenum token = static_cast<GLenum>(buffer[i++]);
        if (token == GL_POINT_TOKEN) {
            result.points.push_back(read_vertex(i));
            i += kFeedbackVertexFloats;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            result.lines.push_back(read_vertex(i));
            result.lines.push_back(read_vertex(i + kFeedbackVertexFloats));
            i += 2 * kFeedbackVertexFloats;
        } else {
            // Polygons, bitmaps and pass-through markers are not drawn here.
            ++result.otherTokens;
            break;
        }
    }
    return result;
}

}  // namespace wg_test
