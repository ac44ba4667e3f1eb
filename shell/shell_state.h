#pragma once
// The shell's flags and clocks. Zero before start-up; init_state gives them
// their running values.

#include <cstdint>

extern bool g_pause;               // paused: the idle callback is unregistered
extern bool g_show_fps;            // draw the frames-per-second line
extern bool g_show_demo_overlay;   // draw the demo objects' own overlay
extern bool g_show_time;           // draw the demo time line
extern std::uint32_t g_demo_msec;  // demo clock, ms, wraps modulo 2^32
extern std::uint32_t g_last_time;  // wall clock at the last idle step or at the end of a pause, ms
extern int g_width;                // window size in pixels, 0 until the first reshape
extern int g_height;
