// Opens a freeglut window, makes its GL context current, prints the driver's
// strings, the addresses the WGL lookup gives and one pixel it drew, checks
// the clock against a wait and opens PLIB's joystick 0, then exits without
// entering the main loop.
#include "shell/gl_proc_address.h"
#include "shell/platform_clock.h"

#include <GL/freeglut.h>
#include <plib/js.h>

#include <cstdio>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutCreateWindow(argv[0]);
    std::printf("GL_VERSION: %s\nGL_RENDERER: %s\nGL_VENDOR: %s\n", glGetString(GL_VERSION), glGetString(GL_RENDERER),
                glGetString(GL_VENDOR));

    // glClear is GL 1.1, an export of opengl32.dll that wglGetProcAddress
    // does not know; the last name exists nowhere.
    const char* const names[] = {"glActiveTextureARB", "glGetTextureImage", "glBindImageTexture", "glClear",
                                 "glNoSuchCommandWG"};
    for (const char* name : names) {
        std::printf("%-20s wglGetProcAddress %p  proc_address %p\n", name,
                    reinterpret_cast<void*>(wglGetProcAddress(name)),
                    reinterpret_cast<void*>(gl_ext::proc_address(name)));
    }

    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    std::printf("cleared pixel: %d %d %d %d, GL error %u\n", pixel[0], pixel[1], pixel[2], pixel[3], glGetError());

    const std::uint32_t before = platform_wall_msec();
    platform_wait_msec(250);
    std::printf("wait of 250 ms took %u ms on the clock\n", platform_wall_msec() - before);

    jsInit();
    jsJoystick joystick(0);
    std::printf("PLIB joystick 0: %s\n", joystick.notWorking() ? "not working (none attached)" : "working");
    std::fflush(stdout);
    return 0;
}
