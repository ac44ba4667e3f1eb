#include "shell/window.h"

#include "shell/callbacks.h"
#include "shell/platform_clock.h"
#include "shell/shell_state.h"
#include "shell/wall_clock.h"

#include <GL/freeglut.h>

void init_window(const char* title) {
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutCreateWindow(title);
    glutFullScreen();
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboard_up);
    glutSpecialFunc(special);
    glutIdleFunc(idle);
    // Closing the window ends the program; the close callback runs first,
    // with the context still current, and deletes the demo objects.
    glutCloseFunc(close_window);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    // One press and one release for a held key: the thrusters need pairs.
    glutSetKeyRepeat(GLUT_KEY_REPEAT_OFF);
    glutSetCursor(GLUT_CURSOR_NONE);
}

void init_state() {
    g_pause = false;
    g_show_fps = true;
    g_show_demo_overlay = false;
    g_show_time = true;
    platform_wait_msec(1000);
    g_demo_msec = 0;
    g_last_time = wall_clock_msec();
}
