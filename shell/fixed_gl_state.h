#pragma once
// The GL state the program sets once at start-up and the drawing code
// assumes: black clear colour, no depth test, lighting, blending or line
// smoothing; textures modulate; blending, when a pass enables it, by alpha.
// Needs a current context.
void set_fixed_gl_state();
