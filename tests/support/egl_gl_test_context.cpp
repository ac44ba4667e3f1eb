// The test context on Linux: EGL on Mesa's surfaceless platform, a 256x256 pbuffer, without an X server.
#include "gl_test_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>

namespace wg_test {

static bool failed(const char* why) { return std::fprintf(stderr, "gl test: %s\n", why), false; }

bool create_gl_context() {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);  // results must not depend on the machine's GPU
    const auto get_platform_display =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display) return failed("eglGetPlatformDisplayEXT is missing");
    const EGLDisplay display = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return failed("cannot initialise the surfaceless EGL display");
    if (!eglBindAPI(EGL_OPENGL_API)) return failed("EGL has no desktop OpenGL");
    // clang-format off
    const EGLint config_attribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24, EGL_NONE};
    // clang-format on
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, config_attribs, &config, 1, &count) || count < 1)
        return failed("no pbuffer config with RGBA8 and depth");
    const EGLint surface_attribs[] = {EGL_WIDTH, 256, EGL_HEIGHT, 256, EGL_NONE};
    const EGLSurface surface = eglCreatePbufferSurface(display, config, surface_attribs);
    if (surface == EGL_NO_SURFACE) return failed("cannot create a pbuffer");
    const EGLint context_attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                      EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attribs);
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, surface, surface, context))
        return failed("cannot make a compatibility context current");
    return true;
}

}  // namespace wg_test
