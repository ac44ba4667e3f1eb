#pragma once
// The toolkit callbacks of the program's one window. They drive the demo
// module (shell/demo.h) and the overlay; init_window registers them.

void display();
void reshape(int width, int height);
// One step of the demo clock: adds the wall time since the last step.
void idle();
// Character keys go to the demo first; the rest are the shell's.
void keyboard(unsigned char key, int x, int y);
void keyboard_up(unsigned char key, int x, int y);
// Special keys are the shell's only: the arrows step the demo time.
void special(int key, int x, int y);
// The window is being closed: the demo objects are deleted while the
// window's GL context still exists.
void close_window();
// Builds with WIRE_GATE_GL_CHECK write every pending GL error to stderr,
// labelled ("frame: Error 1282: invalid operation"); others do nothing.
void check_gl_errors(const char* label);
// Sanitizer builds look for leaked blocks now and end the process with the
// report if there are any; others do nothing. Called once the demo objects
// are deleted, while the GL libraries are still loaded.
void check_for_leaks();
