#pragma once
// One event of a recorded flight: what the user did, at which demo time. The
// text form of a flight is flight_file.h's.

#include <cstdint>
#include <string>
#include <vector>

// The shell's time keys: they step the demo clock, which may so run backwards.
enum class time_key_t { left, right, up, down };

// The step of a time key in ms: left -1000, right +1000, up -100, down +100.
std::int32_t time_key_step(time_key_t key);

struct flight_event_t {
    enum kind_t { press, release, time, stick, end };

    // The demo time the event acts at, ms: for key presses and releases and
    // stick readings the scene's (its last update's), for a time key the
    // demo clock's before the step.
    std::uint32_t msec = 0;
    kind_t kind = end;
    unsigned char key = 0;                   // press, release: the character (' ' the pause)
    time_key_t time_key = time_key_t::left;  // time
    std::vector<float> axes;                 // stick: the absolute positions, -1 .. 1
    std::uint32_t buttons = 0;               // stick: bit i set while button i is down
};

// The keys a flight holds: those of the scene (thrusters, "-", ".", tone,
// draw mode, lattice, state text, fog) and the pause (space).
bool is_flight_key(unsigned char key);
// Of those, the ones whose release counts: the thrusters.
bool is_thruster_key(unsigned char key);
