#include "shell/demo.h"
#include "shell/window.h"

#include <GL/freeglut.h>

#include <cstdio>

int main(int argc, char** argv) {
    // The diagnostic lines must reach a pipe reader one by one.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    glutInit(&argc, argv);
    init_window(argc > 0 && argv[0] != nullptr ? argv[0] : "wire_gate");
    demo_init();
    init_state();
    glutMainLoop();
    return 0;
}
