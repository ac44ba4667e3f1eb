#pragma once
// The demo clock: started after start-up, advanced by the wall clock in
// idle steps, stopped by the pause, stepped by the time keys. Every change
// is modulo 2^32 and nothing clamps it.

#include <cstdint>

struct shell_state_t;

// Running values of the shell flags; then waits one second and starts the
// demo clock at 0, so neither start-up nor the wait counts as demo time.
void start_clock(shell_state_t& shell);

// One idle step: adds the wall time since the last one to the demo clock and
// updates the demo at it (an update that ends the demo ends the program
// through the exit routine); asks for a frame.
void idle_step(shell_state_t& shell);

// Pauses (no idle steps, a frame for the label) or resumes, without adding
// the paused wall time to the demo clock.
void toggle_pause(shell_state_t& shell);

// Moves the demo clock by msec, back or forth, and asks for a frame.
void step_demo_time(shell_state_t& shell, std::uint32_t msec, bool backwards);
