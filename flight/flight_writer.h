#pragma once
// Writes a flight as it is flown: each line is written and flushed when it
// happens, so closing the window or killing the program loses at most the
// line being written.

#include "flight/flight_file.h"

#include <cstdio>
#include <string>

class flight_writer_t {
public:
    flight_writer_t() = default;
    ~flight_writer_t();
    flight_writer_t(const flight_writer_t&) = delete;
    flight_writer_t& operator=(const flight_writer_t&) = delete;

    // Creates path, which must not exist (a recorded flight is never
    // overwritten), and writes the header; false with *error set
    // ("out.flight: exists; a recorded flight is never overwritten").
    bool create(const std::string& path, const flight_header_t& header, std::string* error);
    // One event line. A failed write says so once on stderr; the flight goes on.
    void write(const flight_event_t& event);
    bool is_open() const { return m_file != nullptr; }

private:
    void put(const std::string& text);

    std::string m_path;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
};
