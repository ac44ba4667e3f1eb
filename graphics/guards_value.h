#pragma once
// Scope guards for single pieces of GL state. Each constructor reads the
// current value and sets the requested one only when it differs; the
// destructor puts the old value back only when it had to change it. The
// "nothing saved" value of each guard is noted at its member.

#include <GL/gl.h>

namespace libgr {

// Turns a capability on for one scope (no GL change when it already was).
class grEnableGuard {
public:
    explicit grEnableGuard(GLenum cap);
    ~grEnableGuard();
    grEnableGuard(const grEnableGuard&) = delete;
    grEnableGuard& operator=(const grEnableGuard&) = delete;

private:
    GLenum m_cap;
    bool m_changed;
};

// Turns a capability off for one scope (no GL change when it already was).
class grDisableGuard {
public:
    explicit grDisableGuard(GLenum cap);
    ~grDisableGuard();
    grDisableGuard(const grDisableGuard&) = delete;
    grDisableGuard& operator=(const grDisableGuard&) = delete;

private:
    GLenum m_cap;
    bool m_changed;
};

// Makes a matrix mode current; mode 0 leaves the current one as it is.
class grMatrixModeGuard {
public:
    explicit grMatrixModeGuard(GLenum mode);
    ~grMatrixModeGuard();
    grMatrixModeGuard(const grMatrixModeGuard&) = delete;
    grMatrixModeGuard& operator=(const grMatrixModeGuard&) = delete;

private:
    GLenum m_saved;  // 0: nothing to restore
};

// Makes a texture unit (GL_TEXTURE0 + n) active; unit 0 changes nothing.
// Switches through the loader's glActiveTextureARB.
class grActiveTextureGuard {
public:
    explicit grActiveTextureGuard(GLenum unit);
    ~grActiveTextureGuard();
    grActiveTextureGuard(const grActiveTextureGuard&) = delete;
    grActiveTextureGuard& operator=(const grActiveTextureGuard&) = delete;

private:
    GLenum m_saved;  // 0: nothing to restore
};

// Sets the depth write mask (GL_FALSE or GL_TRUE).
class grDepthMaskGuard {
public:
    explicit grDepthMaskGuard(GLboolean flag);
    ~grDepthMaskGuard();
    grDepthMaskGuard(const grDepthMaskGuard&) = delete;
    grDepthMaskGuard& operator=(const grDepthMaskGuard&) = delete;

private:
    GLuint m_saved;  // GL_INVALID_VALUE: nothing to restore
};

// Sets the depth comparison function.
class grDepthFuncGuard {
public:
    explicit grDepthFuncGuard(GLenum func);
    ~grDepthFuncGuard();
    grDepthFuncGuard(const grDepthFuncGuard&) = delete;
    grDepthFuncGuard& operator=(const grDepthFuncGuard&) = delete;

private:
    GLenum m_saved;  // 0: nothing to restore
};

// Sets the rasterised line width in pixels.
class grLineWidthGuard {
public:
    explicit grLineWidthGuard(GLfloat width);
    ~grLineWidthGuard();
    grLineWidthGuard(const grLineWidthGuard&) = delete;
    grLineWidthGuard& operator=(const grLineWidthGuard&) = delete;

private:
    GLfloat m_saved;  // 0.0: nothing to restore
};

}  // namespace libgr
