#pragma once
// Translations between texture dimensions, targets, pixel formats and
// component types. Unknown inputs give GL_INVALID_VALUE (targets) or 0.

#include <GL/gl.h>

namespace libgr {

// 1, 2, 3 -> GL_TEXTURE_1D/2D/3D; 6 -> GL_TEXTURE_CUBE_MAP; else GL_INVALID_VALUE.
GLenum DimensionToTarget(unsigned dimension);
// The reverse for the four targets; 0 for anything else.
unsigned TargetToDimension(GLenum target);
// The binding query of the four targets (GL_TEXTURE_BINDING_1D, ...);
// GL_INVALID_VALUE for anything else.
GLenum TargetBinding(GLenum target);
// Components per pixel of a pixel format; 0 when unknown.
unsigned FormatComponents(GLenum format);
// Bytes per component of a component type; 0 when unknown.
unsigned TypeSize(GLenum type);
// Component type of a byte size (1, 2, 4, 8); 0 when none.
GLenum SizeType(unsigned bytes);

}  // namespace libgr
