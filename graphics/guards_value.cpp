#include "graphics/guards_value.h"

#include "gl_loader/gl_ext.h"

// GL 1.2 and later names; Windows' gl.h stops at 1.1.
#include <GL/glext.h>

#include <iostream>

namespace libgr {

grEnableGuard::grEnableGuard(GLenum cap) : m_cap(cap), m_changed(false) {
    if (!glIsEnabled(cap)) {
        glEnable(cap);
        m_changed = true;
    }
}

grEnableGuard::~grEnableGuard() {
    if (m_changed) glDisable(m_cap);
}

grDisableGuard::grDisableGuard(GLenum cap) : m_cap(cap), m_changed(false) {
    if (glIsEnabled(cap)) {
        glDisable(cap);
        m_changed = true;
    }
}

grDisableGuard::~grDisableGuard() {
    if (m_changed) glEnable(m_cap);
}

grMatrixModeGuard::grMatrixModeGuard(GLenum mode) : m_saved(0) {
    if (mode == 0) return;
    GLint current = 0;
    glGetIntegerv(GL_MATRIX_MODE, &current);
    if (static_cast<GLenum>(current) != mode) {
        glMatrixMode(mode);
        m_saved = static_cast<GLenum>(current);
    }
}

grMatrixModeGuard::~grMatrixModeGuard() {
    if (m_saved != 0) glMatrixMode(m_saved);
}

namespace {

// Without the multitexture entry point the unit cannot be switched; say so
// once instead of on every frame.
bool active_texture_available() {
    if (gl_ext::glActiveTextureARB) return true;
    static bool told = false;
    if (!told) {
        told = true;
        std::cerr << "grActiveTextureGuard: glActiveTextureARB is not loaded; texture unit left unchanged" << std::endl;
    }
    return false;
}

}  // namespace

grActiveTextureGuard::grActiveTextureGuard(GLenum unit) : m_saved(0) {
    if (unit == 0 || !active_texture_available()) return;
    GLint current = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &current);
    if (static_cast<GLenum>(current) != unit) {
        gl_ext::glActiveTextureARB(unit);
        m_saved = static_cast<GLenum>(current);
    }
}

grActiveTextureGuard::~grActiveTextureGuard() {
    if (m_saved != 0 && gl_ext::glActiveTextureARB) gl_ext::glActiveTextureARB(m_saved);
}

grDepthMaskGuard::grDepthMaskGuard(GLboolean flag) : m_saved(GL_INVALID_VALUE) {
    GLboolean current = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &current);
    if (current != flag) {
        glDepthMask(flag);
        m_saved = current;
    }
}

grDepthMaskGuard::~grDepthMaskGuard() {
    if (m_saved != GL_INVALID_VALUE) glDepthMask(static_cast<GLboolean>(m_saved));
}

grDepthFuncGuard::grDepthFuncGuard(GLenum func) : m_saved(0) {
    GLint current = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &current);
    if (static_cast<GLenum>(current) != func) {
        glDepthFunc(func);
        m_saved = static_cast<GLenum>(current);
    }
}

grDepthFuncGuard::~grDepthFuncGuard() {
    if (m_saved != 0) glDepthFunc(m_saved);
}

grLineWidthGuard::grLineWidthGuard(GLfloat width) : m_saved(0.0f) {
    GLfloat current = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &current);
    if (current != width) {
        glLineWidth(width);
        m_saved = current;
    }
}

grLineWidthGuard::~grLineWidthGuard() {
    if (m_saved != 0.0f) glLineWidth(m_saved);
}

}  // namespace libgr
