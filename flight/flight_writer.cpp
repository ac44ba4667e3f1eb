#include "flight/flight_writer.h"

#include "flight/new_file.h"

#include <cerrno>
#include <cstring>
#include <iostream>

flight_writer_t::~flight_writer_t() {
    if (m_file) std::fclose(m_file);
}

bool flight_writer_t::create(const std::string& path, const flight_header_t& header, std::string* error) {
    m_path = path;
    std::string why;
    m_file = create_new_file(path, &why);
    if (!m_file) {
        *error = path + ": " + (why == "exists" ? "exists; a recorded flight is never overwritten" : why);
        return false;
    }
    put(format_header(header));
    return true;
}

void flight_writer_t::write(const flight_event_t& event) { put(format_event(event) + '\n'); }

void flight_writer_t::put(const std::string& text) {
    if (!m_file) return;
    if (std::fputs(text.c_str(), m_file) < 0 || std::fflush(m_file) != 0) {
        if (!m_failed) std::cerr << m_path << ": writing the flight failed: " << std::strerror(errno) << std::endl;
        m_failed = true;
    }
}
