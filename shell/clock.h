#pragma once
// The demo clock: started after start-up, advanced by the wall clock in idle
// steps (or, in a timedemo, by a fixed step a frame), stopped by the pause,
// stepped by the time keys (shell/keys.h). Every change is modulo 2^32 and
// nothing clamps it.

struct shell_state_t;

// Running values of the shell flags; then waits one second and starts the
// demo clock at 0, so neither start-up nor the wait counts as demo time.
void start_clock(shell_state_t& shell);

// One idle step: adds the wall time since the last one to the demo clock,
// playing a replayed flight's events due on the way (shell/replay.h), and
// updates the demo at it (an update that ends the demo ends the program
// through the exit routine); asks for a frame. In a timedemo the step is the
// timedemo's, and the frame is drawn here.
void idle_step(shell_state_t& shell);
