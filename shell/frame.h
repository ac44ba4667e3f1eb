#pragma once
// One frame of the program's window, as its display callback draws it: the
// demo objects, the shell's overlay and, when switched on, theirs.

struct shell_state_t;

// The frame into the back buffer, inside a push and pop of every attribute
// group of OpenGL 1.1, so every frame starts from the same state.
void render_frame(shell_state_t& shell);
// render_frame, then the frame captured (--capture) unless `captured` is
// false, then the buffer swap.
void draw_frame(shell_state_t& shell, bool captured = true);
// The window's new size, for the overlay and the demo objects (the scene
// sets the viewport and its projection itself).
void resize_frame(shell_state_t& shell, int width, int height);
