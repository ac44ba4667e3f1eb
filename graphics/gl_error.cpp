#include "graphics/gl_error.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <iostream>

namespace libgr {

bool CheckGLError(const char* label) {
    const GLenum err = glGetError();
    if (err == GL_NO_ERROR) return false;
    if (label) std::cerr << label << ": ";
    std::cerr << "Error " << static_cast<unsigned>(err) << ": ";
    // GLU has no text for codes it does not know; write none rather than
    // putting stderr into a failed state.
    if (const GLubyte* text = gluErrorString(err)) std::cerr << reinterpret_cast<const char*>(text);
    std::cerr << std::endl;
    return true;
}

}  // namespace libgr
