#pragma once
// The toolkit callbacks of the program's one window. Each finds the shell's
// state through the window (init_window hands it over) and runs the
// shell's part for it.

void display();
void reshape(int width, int height);
void idle();
void keyboard(unsigned char key, int x, int y);
void keyboard_up(unsigned char key, int x, int y);
void special(int key, int x, int y);
// The window is being closed: the demo objects are deleted while the
// window's GL context still exists.
void close_window();
