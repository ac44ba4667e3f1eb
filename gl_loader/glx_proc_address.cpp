// GLX lookup; with libglvnd it also serves contexts made through EGL.
#include "gl_loader/gl_proc_address.h"

#include <GL/glx.h>

namespace gl_ext {

proc_t proc_address(const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); }

}  // namespace gl_ext
