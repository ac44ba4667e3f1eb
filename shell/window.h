#pragma once
// Start-up steps of the program's one window and of the shell's state.

// Creates the full-screen RGBA, double-buffered window with alpha and depth,
// titled `title`, and registers the callbacks. Key repeat off, cursor hidden.
void init_window(const char* title);

// Running values of the shell flags; then waits one second and starts the
// demo clock at 0, so neither start-up nor the wait counts as demo time.
void init_state();
