#pragma once
// The keys: character keys go to the demo objects first, and those they do
// not consume are the shell's (quit, pause, the overlay switches); special
// keys are the shell's only (the arrows step the demo time). What changes
// the flight goes into a recorded one (shell/record.h).

#include "flight/flight_event.h"

struct shell_state_t;

void shell_key_down(shell_state_t& shell, unsigned char key, int x, int y);
// Reaches the demo objects whether or not they consumed the key-down.
void shell_key_up(shell_state_t& shell, unsigned char key, int x, int y);
void shell_special(shell_state_t& shell, int key, int x, int y);
// Pauses (no idle steps, a frame for the label) or resumes, without adding
// the paused wall time to the demo clock.
void shell_set_pause(shell_state_t& shell, bool paused);
// A time key: moves the demo clock by its step and asks for a frame.
void shell_time_key(shell_state_t& shell, time_key_t key);
