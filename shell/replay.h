#pragma once
// A flight played back through the shell (--replay, --timedemo): each event
// as it was flown, at its demo time, on top of whatever the user does.

#include <cstdint>

struct shell_state_t;

// Plays the events due within the next `step` ms of demo time: the demo
// clock is advanced to each, the scene updated to the time the event acts at
// and the event handed to the keys, the time keys or the stick. Returns the
// part of the step left for the clock: none once a replayed pause holds it
// or the flight's end is reached (the state is then that of its end).
std::uint32_t replay_due(shell_state_t& shell, std::uint32_t step);

// The flight is over: with --loop it starts over (a new scene at the
// flight's settings, demo time 0); otherwise the demo goes on under the
// user's control alone.
void replay_over(shell_state_t& shell);
