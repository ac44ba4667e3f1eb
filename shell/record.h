#pragma once
// What a recorded flight (--record) takes from the shell as it happens:
// key presses and releases at the demo time the scene acts at, time keys at
// the demo clock's time before their step, stick readings at the time of the
// update that polls them, and the end. Nothing when no flight is recorded.

#include "flight/flight_event.h"

#include <cstdint>
#include <vector>

struct shell_state_t;

void record_key(shell_state_t& shell, flight_event_t::kind_t kind, unsigned char key);
void record_time_key(shell_state_t& shell, time_key_t key);
void record_stick(shell_state_t& shell, const std::vector<float>& axes, std::uint32_t buttons);
// The end event; the flight is closed after it.
void record_end(shell_state_t& shell);
