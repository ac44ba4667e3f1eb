// GLX: the swap interval through GLX_EXT_swap_control, or Mesa's own.
#include "gl_loader/swap_control.h"

#include "gl_loader/gl_ext_query.h"

#include <GL/glx.h>

namespace gl_ext {

std::string disable_vsync() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) return "";
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const auto proc = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (has_word(extensions, "GLX_EXT_swap_control")) {
        using set_t = void (*)(Display*, GLXDrawable, int);
        if (const auto set = reinterpret_cast<set_t>(proc("glXSwapIntervalEXT"))) {
            set(display, drawable, 0);
            return "GLX_EXT_swap_control";
        }
    }
    if (has_word(extensions, "GLX_MESA_swap_control")) {
        using set_t = int (*)(unsigned);
        if (const auto set = reinterpret_cast<set_t>(proc("glXSwapIntervalMESA")); set && set(0) == 0)
            return "GLX_MESA_swap_control";
    }
    return "";
}

}  // namespace gl_ext
