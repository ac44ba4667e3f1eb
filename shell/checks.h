#pragma once
// The checks of instrumented builds, for the callbacks and the demo module.

// Builds with WIRE_GATE_GL_CHECK write every pending GL error to stderr,
// labelled ("frame: Error 1282: invalid operation"); others do nothing.
void check_gl_errors(const char* label);

// Sanitizer builds look for leaked blocks now and end the process with the
// report if there are any; others do nothing. Called once the demo objects
// are deleted, while the GL libraries are still loaded.
void check_for_leaks();
