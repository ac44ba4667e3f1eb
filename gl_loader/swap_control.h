#pragma once
// Asking the driver not to wait for vertical sync at each buffer swap, so
// that frames come as fast as GL draws them (a timedemo). One implementation
// per platform: GLX's swap-control extensions, WGL_EXT_swap_control.

#include <string>

namespace gl_ext {

// Sets the swap interval of the current context's drawable to 0; the name of
// the extension that did it, or empty when the driver offers none.
std::string disable_vsync();

}  // namespace gl_ext
