// The test context on Linux: EGL on Mesa's surfaceless platform, a 256x256
// pbuffer, without an X server.
#include "gl_test_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>

namespace wg_test {

bool create_gl_context() {
    // Results must not depend on whatever GPU the machine has.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);

    auto get_platform_display =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display) {
        std::fprintf(stderr, "gl test: eglGetPlatformDisplayEXT is missing\n");
        return false;
    }
    EGLDisplay display = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
        std::fprintf(stderr, "gl test: cannot initialise the surfaceless EGL display\n");
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        std::fprintf(stderr, "gl test: EGL has no desktop OpenGL\n");
        return false;
    }
    const EGLint config_attribs[] = {EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_ALPHA_SIZE,
                                     8,
                                     EGL_DEPTH_SIZE,
                                     24,
                                     EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, config_attribs, &config, 1, &count) || count < 1) {
        std::fprintf(stderr, "gl test: no pbuffer config with RGBA8 and depth\n");
        return false;
    }
    const EGLint surface_attribs[] = {EGL_WIDTH, 256, EGL_HEIGHT, 256, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surface_attribs);
    if (surface == EGL_NO_SURFACE) {
        std::fprintf(stderr, "gl test: cannot create a pbuffer\n");
        return false;
    }
    const EGLint context_attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                      EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attribs);
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, surface, surface, context)) {
        std::fprintf(stderr, "gl test: cannot make a compatibility context current\n");
        return false;
    }
    return true;
}

}  // namespace wg_test
