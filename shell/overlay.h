#pragma once
// The shell's 2D layer over the scene: frames per second at the bottom left,
// the demo time at the top left and the pause label in the centre.
//
// Overlay coordinates: x runs from 0 (left edge) to 1024 (right edge), units
// are square, so the height is 1024 * height / width units centred on
// y = 512; y grows upwards. Text lines are 10 units apart.

struct shell_state_t;

// Replaces the current matrix (the caller has selected and pushed the
// projection matrix) with the overlay projection for the state's window and
// sets its two edges. Expects an identity model-view matrix. A window not
// yet reshaped (or of no area) counts as 4:3, so the projection stays finite.
void set_overlay_projection(shell_state_t& shell);

// Left-aligned text; a line feed continues 10 units lower at the same x.
void draw_text(float x, float y, const char* text);
// One line centred at x; a line feed is drawn as a character.
void draw_text_centered(float x, float y, const char* text);

// Counts one frame; publishes the count into m_fps when the second changes.
void count_frame(shell_state_t& shell);
// "<m_fps> fps" in white near the bottom left.
void draw_fps(const shell_state_t& shell);
// "<m_demo_msec> msec" in white near the top left.
void draw_time(const shell_state_t& shell);
