#pragma once
// Reads a flight file line by line: the header once, then one event at a
// time, so a flight of any length takes the memory of one line. Strict: a
// line that is not what flight_file.h describes is an error naming the file
// and the line ("tour.flight:12: unknown event \"jump\"").

#include "flight/flight_file.h"

#include <cstdio>
#include <memory>
#include <string>

class flight_reader_t {
public:
    flight_reader_t() = default;
    ~flight_reader_t();
    flight_reader_t(const flight_reader_t&) = delete;
    flight_reader_t& operator=(const flight_reader_t&) = delete;

    // Opens path and reads its header; false with *error set when the file
    // cannot be read or its header is wrong.
    bool open(const std::string& path, std::string* error);
    const flight_header_t& header() const { return m_header; }

    // The next event; false at the end of the file (*error empty) or at a
    // wrong line (*error "path:line: ..."). Nothing follows an end event.
    bool next(flight_event_t& event, std::string* error);

    // Back to the first event, as after open.
    bool rewind(std::string* error);

private:
    // The next line that is not a comment, without its line end; false at the
    // end of the file or on an error (*error set).
    bool next_line(std::string& line, std::string* error);
    std::string where() const;

    std::string m_path;
    std::FILE* m_file = nullptr;
    long m_events_at = 0;    // offset of the first line after the header
    long m_events_line = 0;  // and its number, less one
    long m_line = 0;
    bool m_ended = false;
    bool m_pending = false;  // m_held is the first event line, read with the header
    std::string m_held;
    flight_header_t m_header;
    flight_clock_check_t m_clock;
};

// Reads the whole flight once: true when every line is right. The header and
// the last event's time come back through the pointers (either may be null).
bool check_flight(const std::string& path, flight_header_t* header, std::uint32_t* last_msec, std::string* error);
