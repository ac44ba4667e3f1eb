#pragma once
// One record per GL matrix mode (modelview, projection, texture, colour),
// library-wide, so that grMatrixGuard can save a matrix in memory when the
// GL stack of its mode is full. Depth checking is off by default; then
// every grMatrixGuard is a plain push/pop.

#include <GL/gl.h>

#include <array>
#include <vector>

namespace libgr {

struct grMatrixStack {
    GLenum m_mode;                                     // GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE or GL_COLOR
    GLenum m_maxDepthQuery;                            // e.g. GL_MAX_MODELVIEW_STACK_DEPTH
    GLenum m_depthQuery;                               // e.g. GL_MODELVIEW_STACK_DEPTH
    GLenum m_matrixQuery;                              // e.g. GL_MODELVIEW_MATRIX
    GLint m_maxDepth;                                  // GL limit while checking is on, 0 while off
    std::vector<std::array<GLfloat, 16>> m_snapshots;  // last in, first out
};

// Turns stack-depth checking on (reads each mode's GL limit; needs a
// current context) or off (limits back to 0).
void SetMatrixStackCheck(bool on);
bool IsMatrixStackCheck();

// The record of a matrix mode; 0 means the current GL_MATRIX_MODE. An
// unknown mode is reported on stdout and gives the modelview record.
grMatrixStack* FindMatrixStack(GLenum mode);

}  // namespace libgr
