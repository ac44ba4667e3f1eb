#pragma once
// Scope guards that always save and always set: colour write mask,
// viewport, clear colour and polygon mode. The destructor restores the
// values read at construction.

#include <GL/gl.h>

namespace libgr {

class grColorMaskGuard {
public:
    grColorMaskGuard(GLboolean r, GLboolean g, GLboolean b, GLboolean a);
    explicit grColorMaskGuard(GLboolean all);
    ~grColorMaskGuard();
    grColorMaskGuard(const grColorMaskGuard&) = delete;
    grColorMaskGuard& operator=(const grColorMaskGuard&) = delete;

private:
    GLboolean m_r, m_g, m_b, m_a;
};

// Viewport in window pixels.
class grViewportGuard {
public:
    grViewportGuard(GLint x, GLint y, GLsizei width, GLsizei height);
    ~grViewportGuard();
    grViewportGuard(const grViewportGuard&) = delete;
    grViewportGuard& operator=(const grViewportGuard&) = delete;

private:
    GLint m_x, m_y, m_width, m_height;
};

// Clear colour, components 0..1.
class grClearColorGuard {
public:
    grClearColorGuard(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
    ~grClearColorGuard();
    grClearColorGuard(const grClearColorGuard&) = delete;
    grClearColorGuard& operator=(const grClearColorGuard&) = delete;

private:
    GLfloat m_r, m_g, m_b, m_a;
};

// Polygon rasterisation mode (GL_POINT, GL_LINE, GL_FILL) per face, or one
// mode for both faces.
class grPolygonModeGuard {
public:
    grPolygonModeGuard(GLenum front, GLenum back);
    explicit grPolygonModeGuard(GLenum mode);
    ~grPolygonModeGuard();
    grPolygonModeGuard(const grPolygonModeGuard&) = delete;
    grPolygonModeGuard& operator=(const grPolygonModeGuard&) = delete;

private:
    void Save();

    GLenum m_front, m_back;
};

}  // namespace libgr
