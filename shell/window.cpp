#include "shell/window.h"

#include "shell/callbacks.h"
#include "shell/shell_state.h"

#include <GL/freeglut.h>

void init_window(shell_state_t& shell, const char* title, int width, int height) {
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    if (width > 0) glutInitWindowSize(width, height);
    glutCreateWindow(title);
    glutSetWindowData(&shell);  // where every callback finds the state
    if (width == 0) glutFullScreen();
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
