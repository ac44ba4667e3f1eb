#pragma once
// A flight played back: its events in order, each as the demo clock reaches
// its time. The file is read as the flight goes, one event ahead.

#include "flight/flight_reader.h"

#include <cstdint>
#include <string>

class flight_player_t {
public:
    // Opens a flight already checked whole (check_flight); false with *error.
    bool open(const std::string& path, std::string* error);
    const flight_header_t& header() const { return m_reader.header(); }

    // The next event when it is due: its time at most `budget` ms after
    // `clock` (signed 32-bit, so an event the clock has passed is due at
    // once). False when it is not, or when the flight is over.
    bool due(std::uint32_t clock, std::uint32_t budget, flight_event_t& event);
    // The event due() gave is done; the next one is read.
    void take() { m_ahead = false; }
    // No event is left (a read error says so on stderr and ends the flight).
    bool finished();
    // From the first event again.
    bool restart(std::string* error);

private:
    bool look_ahead();

    flight_reader_t m_reader;
    flight_event_t m_next;
    bool m_ahead = false;
    bool m_over = false;
};
