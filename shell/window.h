#pragma once
// Start-up of the program's one window.

struct shell_state_t;

// Creates the full-screen RGBA, double-buffered window with alpha and depth,
// titled `title` (width by height pixels instead, when width is not 0),
// hands it `shell` (which must outlive it) and registers the callbacks. Key
// repeat off, cursor hidden.
void init_window(shell_state_t& shell, const char* title, int width = 0, int height = 0);
