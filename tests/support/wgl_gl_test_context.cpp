// The test context on Windows: WGL on a 256x256 window that is never shown (memory bitmaps get no hardware-style
// context from the driver). Under wine this needs an X display, not a visible window.
#include "gl_test_context.h"

#include <windows.h>

#include <cstdio>

namespace wg_test {

bool create_gl_context() {
    WNDCLASSA type{};
    type.style = CS_OWNDC;
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "wg_gl_test";
    RegisterClassA(&type);  // if it fails, so does the window
    const HWND window =
        CreateWindowA(type.lpszClassName, "", WS_POPUP, 0, 0, 256, 256, nullptr, nullptr, type.hInstance, nullptr);
    const HDC dc = window != nullptr ? GetDC(window) : nullptr;
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    wanted.cAlphaBits = 8;
    wanted.cDepthBits = 24;
    const int format = dc != nullptr ? ChoosePixelFormat(dc, &wanted) : 0;
    const HGLRC context = format != 0 && SetPixelFormat(dc, format, &wanted) ? wglCreateContext(dc) : nullptr;
    if (context == nullptr || !wglMakeCurrent(dc, context)) {
        std::fprintf(stderr, "gl test: no WGL context on a hidden window (error %lu)\n", GetLastError());
        return false;
    }
    return true;
}

}  // namespace wg_test
