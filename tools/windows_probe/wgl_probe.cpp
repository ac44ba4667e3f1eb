// Can GL tests get a WGL context without a visible window? Tries a window
// that is never shown and a memory bitmap (PFD_DRAW_TO_BITMAP); for each it
// prints the driver's strings and whether a cleared pixel reads back.
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>

namespace {

// Makes a context on dc with the pixel format flags, draws and reads back.
bool try_context(const char* what, HDC dc, DWORD flags) {
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = flags;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    wanted.cDepthBits = 24;
    const int format = ChoosePixelFormat(dc, &wanted);
    if (format == 0 || !SetPixelFormat(dc, format, &wanted)) {
        std::printf("%s: no pixel format (format %d, error %lu)\n", what, format, GetLastError());
        return false;
    }
    const HGLRC context = wglCreateContext(dc);
    if (context == nullptr || !wglMakeCurrent(dc, context)) {
        std::printf("%s: no context (error %lu)\n", what, GetLastError());
        if (context != nullptr) wglDeleteContext(context);
        return false;
    }
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    const bool drawn = pixel[0] == 64 && pixel[1] == 128 && pixel[2] == 191;
    std::printf("%s: GL_VERSION %s, GL_RENDERER %s, pixel %d %d %d %d (%s)\n", what, glGetString(GL_VERSION),
                glGetString(GL_RENDERER), pixel[0], pixel[1], pixel[2], pixel[3], drawn ? "drawn" : "NOT drawn");
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    return drawn;
}

bool hidden_window() {
    WNDCLASSA type{};
    type.style = CS_OWNDC;
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "wgl_probe";
    RegisterClassA(&type);
    // Never shown: no WS_VISIBLE and no ShowWindow.
    const HWND window = CreateWindowA("wgl_probe", "wgl_probe", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                                      type.hInstance, nullptr);
    if (window == nullptr) return false;
    const bool drawn =
        try_context("hidden window", GetDC(window), PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
    DestroyWindow(window);
    return drawn;
}

bool memory_bitmap() {
    const HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = 64;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const bool drawn = try_context("memory bitmap", dc, PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn;
}

}  // namespace

int main() {
    const bool window = hidden_window();
    const bool bitmap = memory_bitmap();
    std::fflush(stdout);
    return window || bitmap ? 0 : 1;
}
