// WGL: the swap interval through WGL_EXT_swap_control, where the loader
// found it.
#include "gl_loader/gl_ext.h"
#include "gl_loader/swap_control.h"

#include <windows.h>

namespace gl_ext {

std::string disable_vsync() {
    using set_t = BOOL(WINAPI*)(int);
    const auto set = reinterpret_cast<set_t>(wglSwapIntervalEXT);
    if (!has_WGL_EXT_swap_control || set == nullptr || !set(0)) return "";
    return "WGL_EXT_swap_control";
}

}  // namespace gl_ext
