#pragma once
// Guards that switch a capability on and set its parameters: blending,
// alpha test and polygon offset. Parameters are restored first, then the
// capability goes back to what it was.

#include "graphics/guards_value.h"

namespace libgr {

class grBlendFuncGuard {
public:
    grBlendFuncGuard(GLenum src, GLenum dst);
    ~grBlendFuncGuard();
    grBlendFuncGuard(const grBlendFuncGuard&) = delete;
    grBlendFuncGuard& operator=(const grBlendFuncGuard&) = delete;

private:
    grEnableGuard m_enable;  // GL_BLEND
    GLenum m_src;
    GLenum m_dst;
};

// Alpha test with a reference value in 0..1.
class grAlphaFuncGuard {
public:
    grAlphaFuncGuard(GLenum func, GLfloat ref);
    ~grAlphaFuncGuard();
    grAlphaFuncGuard(const grAlphaFuncGuard&) = delete;
    grAlphaFuncGuard& operator=(const grAlphaFuncGuard&) = delete;

private:
    grEnableGuard m_enable;  // GL_ALPHA_TEST
    GLenum m_func;
    GLfloat m_ref;
};

// cap is GL_POLYGON_OFFSET_FILL, _LINE or _POINT.
class grPolygonOffsetGuard {
public:
    grPolygonOffsetGuard(GLenum cap, GLfloat factor, GLfloat units);
    ~grPolygonOffsetGuard();
    grPolygonOffsetGuard(const grPolygonOffsetGuard&) = delete;
    grPolygonOffsetGuard& operator=(const grPolygonOffsetGuard&) = delete;

private:
    grEnableGuard m_enable;
    GLfloat m_factor;
    GLfloat m_units;
};

}  // namespace libgr
