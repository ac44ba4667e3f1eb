#include "graphics/guards_always.h"

namespace libgr {

grColorMaskGuard::grColorMaskGuard(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    GLboolean saved[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    glGetBooleanv(GL_COLOR_WRITEMASK, saved);
    m_r = saved[0];
    m_g = saved[1];
    m_b = saved[2];
    m_a = saved[3];
    glColorMask(r, g, b, a);
}

grColorMaskGuard::grColorMaskGuard(GLboolean all) : grColorMaskGuard(all, all, all, all) {}

grColorMaskGuard::~grColorMaskGuard() { glColorMask(m_r, m_g, m_b, m_a); }

grViewportGuard::grViewportGuard(GLint x, GLint y, GLsizei width, GLsizei height) {
    GLint saved[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, saved);
    m_x = saved[0];
    m_y = saved[1];
    m_width = saved[2];
    m_height = saved[3];
    glViewport(x, y, width, height);
}

grViewportGuard::~grViewportGuard() { glViewport(m_x, m_y, m_width, m_height); }

grClearColorGuard::grClearColorGuard(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    GLfloat saved[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, saved);
    m_r = saved[0];
    m_g = saved[1];
    m_b = saved[2];
    m_a = saved[3];
    glClearColor(r, g, b, a);
}

grClearColorGuard::~grClearColorGuard() { glClearColor(m_r, m_g, m_b, m_a); }

void grPolygonModeGuard::Save() {
    GLint saved[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, saved);
    m_front = static_cast<GLenum>(saved[0]);
    m_back = static_cast<GLenum>(saved[1]);
}

grPolygonModeGuard::grPolygonModeGuard(GLenum front, GLenum back) {
    Save();
    glPolygonMode(GL_FRONT, front);
    glPolygonMode(GL_BACK, back);
}

grPolygonModeGuard::grPolygonModeGuard(GLenum mode) {
    Save();
    glPolygonMode(GL_FRONT_AND_BACK, mode);
}

grPolygonModeGuard::~grPolygonModeGuard() {
    glPolygonMode(GL_FRONT, m_front);
    glPolygonMode(GL_BACK, m_back);
}

}  // namespace libgr
