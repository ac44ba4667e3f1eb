#include "flight/flight_player.h"

#include <iostream>

bool flight_player_t::open(const std::string& path, std::string* error) { return m_reader.open(path, error); }

bool flight_player_t::look_ahead() {
    if (m_ahead || m_over) return m_ahead;
    std::string error;
    m_ahead = m_reader.next(m_next, &error);
    if (!m_ahead) {
        // Checked before the flight began, so only a file changed since fails here.
        if (!error.empty()) std::cerr << error << std::endl;
        m_over = true;
    }
    return m_ahead;
}

bool flight_player_t::due(std::uint32_t clock, std::uint32_t budget, flight_event_t& event) {
    if (!look_ahead()) return false;
    const std::int32_t wait = static_cast<std::int32_t>(m_next.msec - clock);
    if (wait > 0 && static_cast<std::uint32_t>(wait) > budget) return false;
    event = m_next;
    return true;
}

bool flight_player_t::finished() { return !look_ahead(); }

bool flight_player_t::restart(std::string* error) {
    m_ahead = m_over = false;
    return m_reader.rewind(error);
}
