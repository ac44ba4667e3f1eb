// WGL lookup. wglGetProcAddress knows only what the context's driver adds:
// the GL 1.0 and 1.1 commands are exports of opengl32.dll, where it finds
// nothing, so those are looked up there instead.
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
    if (found == nullptr) {
        if (const HMODULE opengl32 = GetModuleHandleA("opengl32.dll")) found = GetProcAddress(opengl32, name);
    }
    return reinterpret_cast<proc_t>(found);
}

}  // namespace gl_ext
