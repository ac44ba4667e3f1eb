#include "graphics/gl_tables.h"

// GL 1.2 and later names; Windows' gl.h stops at 1.1.
#include <GL/glext.h>

namespace libgr {

GLenum DimensionToTarget(unsigned dimension) {
    switch (dimension) {
    case 1: return GL_TEXTURE_1D;
    case 2: return GL_TEXTURE_2D;
    case 3: return GL_TEXTURE_3D;
    case 6: return GL_TEXTURE_CUBE_MAP;
    default: return GL_INVALID_VALUE;
    }
}

unsigned TargetToDimension(GLenum target) {
    switch (target) {
    case GL_TEXTURE_1D: return 1;
    case GL_TEXTURE_2D: return 2;
    case GL_TEXTURE_3D: return 3;
    case GL_TEXTURE_CUBE_MAP: return 6;
    default: return 0;
    }
}

GLenum TargetBinding(GLenum target) {
    switch (target) {
    case GL_TEXTURE_1D: return GL_TEXTURE_BINDING_1D;
    case GL_TEXTURE_2D: return GL_TEXTURE_BINDING_2D;
    case GL_TEXTURE_3D: return GL_TEXTURE_BINDING_3D;
    case GL_TEXTURE_CUBE_MAP: return GL_TEXTURE_BINDING_CUBE_MAP;
    default: return GL_INVALID_VALUE;
    }
}

unsigned FormatComponents(GLenum format) {
    switch (format) {
    case GL_COLOR_INDEX:
    case GL_DEPTH_COMPONENT:
    case GL_RED:
    case GL_GREEN:
    case GL_BLUE:
    case GL_ALPHA:
    case GL_LUMINANCE: return 1;
    case GL_LUMINANCE_ALPHA: return 2;
    case GL_RGB:
    case GL_BGR: return 3;
    case GL_RGBA:
    case GL_BGRA: return 4;
    default: return 0;
    }
}

unsigned TypeSize(GLenum type) {
    switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP: return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT: return 2;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT: return 4;
    case GL_DOUBLE: return 8;
    default: return 0;
    }
}

GLenum SizeType(unsigned bytes) {
    switch (bytes) {
    case 1: return GL_UNSIGNED_BYTE;
    case 2: return GL_UNSIGNED_SHORT;
    case 4: return GL_FLOAT;
    case 8: return GL_DOUBLE;
    default: return 0;
    }
}

}  // namespace libgr
