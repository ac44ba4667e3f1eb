#include "shell/callbacks.h"
#include "shell/clock.h"
#include "shell/demo.h"
#include "shell/shell_state.h"
#include "shell/toolkit_services.h"
#include "shell/window.h"

#include <GL/freeglut.h>

namespace {

// The program's shell, built before main and destroyed at process exit:
// its root then deletes whatever demo object it still holds (the exit
// routine and window close clear it earlier, while the GL context exists).
shell_state_t g_shell{toolkit_services(idle)};

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    init_window(g_shell, argc > 0 && argv[0] != nullptr ? argv[0] : "wire_gate");
    demo_init(g_shell);
    start_clock(g_shell);
    glutMainLoop();
    return 0;
}
