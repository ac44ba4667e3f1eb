#include "shell/toolkit_services.h"

#include "shell/platform_clock.h"

#include <GL/freeglut.h>

shell_services_t toolkit_services(void (*idle)()) {
    return {platform_wall_msec, platform_wait_msec, [] { glutPostRedisplay(); },
            [idle](bool running) { glutIdleFunc(running ? idle : nullptr); }, [] { glutSwapBuffers(); }};
}
