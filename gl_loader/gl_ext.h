#pragma once
// The OpenGL extension loader. gl_ext_init, run once with the window's
// context current, sets gl_ext::has_<NAME> for every GL version (1.2 to 4.6),
// GL extension and WGL extension the driver offers, and fetches their entry
// points into gl_ext::<command> (null until fetched). The table is generated
// from the Khronos registry by tools/gen_gl_ext.py.
//
// The entry points live in namespace gl_ext, so this header can be included
// together with <GL/gl.h> and <GL/glext.h>: call gl_ext::glActiveTextureARB.

#include "gl_loader/gl_ext_table.h"

// 1 when the current context's driver offers the GL version or extension
// `name` ("GL_VERSION_4_2", "GL_ARB_multitexture"), 0 otherwise, also when
// no context is current.
int gl_ext_supported(const char* name);

// Runs every row's loader: flags and entry points of what the driver offers.
void gl_ext_init();

namespace gl_ext {
using ::gl_ext_init;
using ::gl_ext_supported;
}  // namespace gl_ext
