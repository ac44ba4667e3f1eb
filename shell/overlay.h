#pragma once
// The shell's 2D layer over the scene: frames per second at the bottom left,
// the demo time at the top left and the pause label in the centre.
//
// Overlay coordinates: x runs from 0 (left edge) to 1024 (right edge), units
// are square, so the height is 1024 * height / width units centred on
// y = 512; y grows upwards. Text lines are 10 units apart.

#include <cstddef>
#include <cstdint>
#include <string>

extern std::uint32_t g_fps_second;  // wall-clock second (ms / 1000) being counted
extern std::uint32_t g_fps_frames;  // frames counted in that second so far
extern std::uint32_t g_fps;         // count of the last completed second: the value shown
extern float g_overlay_bottom;      // y of the window's bottom edge, overlay units
extern float g_overlay_top;         // y of the window's top edge, overlay units

// Replaces the current matrix (the caller has selected and pushed the
// projection matrix) with the overlay projection and sets the two edges.
// Expects an identity model-view matrix.
void set_overlay_projection();

// Left-aligned text; a line feed continues 10 units lower at the same x.
void draw_text(float x, float y, const char* text);
// One line centred at x; a line feed is drawn as a character.
void draw_text_centered(float x, float y, const char* text);

// Counts one frame; publishes the count into g_fps when the second changes.
void count_frame();
// "<g_fps> fps" in white near the bottom left.
void draw_fps();
// "<g_demo_msec> msec" in white near the top left.
void draw_time();

// The pieces above that need no toolkit, exposed for reuse and tests.
struct overlay_point_t {
    float x;
    float y;
};

// Height over width of the window; a window not yet reshaped (or of no area)
// counts as 4:3, so the projection stays finite.
float overlay_aspect();
// Where draw_text_centered starts a text of `length` characters.
float centered_text_start(float x, std::size_t length);
overlay_point_t fps_line_origin();
overlay_point_t time_line_origin();
std::string fps_text();
std::string time_text();
