#include "bench_window.h"

#include "stats.h"

#include <GL/freeglut.h>

namespace {

window_size_t g_reported;  // last size the toolkit reported

void on_reshape(int width, int height) { g_reported = {width, height}; }

// Frames are drawn by the benchmark itself; exposure needs no redraw.
void on_display() {}

}  // namespace

window_size_t open_bench_window(int* argc, char** argv, int width, int height, double timeout_s) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(width, height);
    glutCreateWindow("wire_gate_bench");
    glutDisplayFunc(on_display);
    glutReshapeFunc(on_reshape);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    const double deadline = wall_seconds() + timeout_s;
    while (wall_seconds() < deadline && (g_reported.width != width || g_reported.height != height)) glutMainLoopEvent();
    return g_reported;
}

void pump_events() { glutMainLoopEvent(); }
