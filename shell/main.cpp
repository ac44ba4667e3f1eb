#include "shell/demo.h"
#include "shell/window.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    init_window(argc > 0 && argv[0] != nullptr ? argv[0] : "wire_gate");
    demo_init();
    init_state();
    glutMainLoop();
    return 0;
}
