// WGL lookup. wglGetProcAddress knows what the context's driver adds, which
// is every command the table holds: GL 1.0 and 1.1, the exports of
// opengl32.dll, have no row.
#include "gl_loader/gl_proc_address.h"

#include <windows.h>

#include <cstdint>

namespace gl_ext {

proc_t proc_address(const char* name) {
    PROC found = wglGetProcAddress(name);
    // NOTE: some drivers answer an unknown name with 1, 2, 3 or -1 instead of
    // null; calling such an address would crash, so they count as not found.
    const auto value = reinterpret_cast<std::intptr_t>(found);
    if (value >= -1 && value <= 3) found = nullptr;
    return reinterpret_cast<proc_t>(found);
}

}  // namespace gl_ext
