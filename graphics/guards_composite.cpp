#include "graphics/guards_composite.h"

namespace libgr {

grBlendFuncGuard::grBlendFuncGuard(GLenum src, GLenum dst) : m_enable(GL_BLEND) {
    GLint saved_src = GL_ONE, saved_dst = GL_ZERO;
    glGetIntegerv(GL_BLEND_SRC, &saved_src);
    glGetIntegerv(GL_BLEND_DST, &saved_dst);
    m_src = static_cast<GLenum>(saved_src);
    m_dst = static_cast<GLenum>(saved_dst);
    glBlendFunc(src, dst);
}

// The enable guard member is released after this body runs.
grBlendFuncGuard::~grBlendFuncGuard() { glBlendFunc(m_src, m_dst); }

grAlphaFuncGuard::grAlphaFuncGuard(GLenum func, GLfloat ref) : m_enable(GL_ALPHA_TEST) {
    GLint saved_func = GL_ALWAYS;
    GLfloat saved_ref = 0.0f;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &saved_func);
    glGetFloatv(GL_ALPHA_TEST_REF, &saved_ref);
    m_func = static_cast<GLenum>(saved_func);
    m_ref = saved_ref;
    glAlphaFunc(func, ref);
}

grAlphaFuncGuard::~grAlphaFuncGuard() { glAlphaFunc(m_func, m_ref); }

grPolygonOffsetGuard::grPolygonOffsetGuard(GLenum cap, GLfloat factor, GLfloat units) : m_enable(cap) {
    m_factor = 0.0f;
    m_units = 0.0f;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &m_factor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &m_units);
    glPolygonOffset(factor, units);
}

grPolygonOffsetGuard::~grPolygonOffsetGuard() { glPolygonOffset(m_factor, m_units); }

}  // namespace libgr
