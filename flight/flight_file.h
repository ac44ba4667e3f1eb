#pragma once
// The text form of a flight, one line each, as the README and the manual
// page describe it:
//
//   wire_gate flight 1                  the format and its version
//   setting HALL_MESH_MODE 2            the four settings flown with, in
//   setting HALL_MESH_BOUNDING 1000     this order
//   setting HALL_MESH_INTERVAL 50
//   setting HALL_MESH_FOG 1
//   stick 4 2                           the joystick's axes and buttons (none: no line)
//   # a comment; blank lines are comments too
//   0 press 5                           <demo msec> <event>
//   2000 release 5
//   2000 press space
//   2000 time left                      left, right, up, down
//   2100 stick 0.5 0 -1 0 buttons 3     absolute axis positions, button bits
//   30000 end
//
// Times never run backwards, but where a time key stepped the demo clock
// back. Lines end in LF (a CR before it is allowed) and are at most 4096
// characters long.

#include "flight/flight_event.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct flight_header_t {
    // The values of HALL_MESH_MODE, _BOUNDING, _INTERVAL and _FOG, as written.
    std::array<std::string, 4> settings;
    int axes = 0;  // the joystick's, 0 without one
    int buttons = 0;
};

extern const char* const flight_setting_names[4];
constexpr const char* flight_first_line = "wire_gate flight 1";
constexpr std::size_t flight_max_line = 4096;

// The shortest text that reads back as the same float.
std::string flight_number(float v);

// The line of an event, without its line feed.
std::string format_event(const flight_event_t& event);
// The header's lines, each with its line feed.
std::string format_header(const flight_header_t& header);

// Order in time: each event's time is at least the floor left by the events
// before it (times compared as signed 32-bit differences, so the demo clock
// may wrap).
class flight_clock_check_t {
public:
    // Empty when the event may come next; otherwise why not.
    std::string admit(const flight_event_t& event);

private:
    bool m_started = false;
    std::uint32_t m_scene = 0;  // the last time the scene acted at
    std::uint32_t m_clock = 0;  // the demo clock after the last time key
};

// One event line (no line feed) for a flight of `axes` joystick axes and
// `buttons` buttons; empty on success, otherwise what is wrong.
std::string parse_event(const std::string& line, int axes, int buttons, flight_event_t& event);
