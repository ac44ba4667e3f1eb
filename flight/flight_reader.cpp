#include "flight/flight_reader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

// What is wrong with a setting's value, or empty. Values are written as the
// program used them, so they are plain decimal numbers.
std::string setting_problem(int index, const std::string& value) {
    char* end = nullptr;
    const bool decimal = !value.empty() && value.find_first_not_of("0123456789+-.eE") == std::string::npos;
    const double v = decimal ? std::strtod(value.c_str(), &end) : 0.0;
    const bool number = decimal && *end == '\0' && std::isfinite(v) && std::isfinite(static_cast<float>(v));
    switch (index) {
    case 0: return (value == "0" || value == "1" || value == "2") ? "" : "is 0, 1 or 2";
    case 1: return number ? "" : "is a finite decimal number";
    case 2: return number && v != 0.0 ? "" : "is a finite decimal number other than 0";
    default: return (value == "0" || value == "1") ? "" : "is 0 or 1";
    }
}

bool comment(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

}  // namespace

flight_reader_t::~flight_reader_t() {
    if (m_file) std::fclose(m_file);
}

std::string flight_reader_t::where() const { return m_path + ":" + std::to_string(m_line) + ": "; }

bool flight_reader_t::next_line(std::string& line, std::string* error) {
    for (;;) {
        line.clear();
        int c = 0;
        while ((c = std::getc(m_file)) != EOF && c != '\n') {
            if (c == '\0' || line.size() >= flight_max_line) {
                ++m_line;
                *error = where() + (c == '\0' ? "a NUL character" : "a line longer than 4096 characters");
                return false;
            }
            line.push_back(static_cast<char>(c));
        }
        if (std::ferror(m_file)) {
            *error = where() + "cannot read: " + std::strerror(errno);
            return false;
        }
        if (c == EOF && line.empty()) return false;
        ++m_line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!comment(line)) return true;
    }
}

bool flight_reader_t::open(const std::string& path, std::string* error) {
    error->clear();
    m_path = path;
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file) {
        *error = path + ": cannot read the flight: " + std::strerror(errno);
        return false;
    }
    std::string line;
    const char* version = "wire_gate flight ";
    if (!next_line(line, error) || line != flight_first_line) {
        m_line = std::max(m_line, 1L);  // an empty file is wrong on its first line
        if (error->empty())
            *error = where() + (line.rfind(version, 0) == 0
                                    ? "flight version \"" + line.substr(std::strlen(version)) +
                                          "\" is not known; this program reads version 1"
                                    : std::string("not a flight: the first line is \"") + flight_first_line + "\"");
        return false;
    }
    int settings = 0;
    for (;;) {
        const long at = std::ftell(m_file), line_at = m_line;
        if (!next_line(line, error)) {
            if (error->empty() && settings < 4)
                *error = where() + "the flight ends before its setting " + flight_setting_names[settings];
            if (error->empty()) m_events_at = at, m_events_line = line_at;
            return error->empty();
        }
        std::istringstream words(line);
        std::string first, name, value, rest;
        words >> first >> name >> value >> rest;
        if (settings < 4) {
            if (first != "setting" || name != flight_setting_names[settings] || value.empty() || !rest.empty()) {
                *error = where() + "expected \"setting " + flight_setting_names[settings] + " <value>\"";
                return false;
            }
            if (const std::string problem = setting_problem(settings, value); !problem.empty()) {
                *error = where() + "setting " + name + " " + problem;
                return false;
            }
            m_header.settings[settings++] = value;
        } else if (first == "stick" && m_header.axes == 0 && m_header.buttons == 0) {
            const bool ok = !name.empty() && !value.empty() && rest.empty() &&
                            name.find_first_not_of("0123456789") == std::string::npos &&
                            value.find_first_not_of("0123456789") == std::string::npos && name.size() <= 2 &&
                            value.size() <= 2 && std::stoi(name) <= 16 && std::stoi(value) <= 32;
            if (!ok) {
                *error = where() + "a stick line gives its axes (0 to 16) and buttons (0 to 32)";
                return false;
            }
            m_header.axes = std::stoi(name);
            m_header.buttons = std::stoi(value);
        } else {
            m_events_at = at;
            m_events_line = line_at;
            m_held = line;
            m_pending = true;
            return true;
        }
    }
}

bool flight_reader_t::next(flight_event_t& event, std::string* error) {
    error->clear();
    std::string line;
    if (m_pending) {
        line = m_held;
        m_pending = false;
    } else if (!next_line(line, error)) {
        return false;
    }
    if (m_ended) {
        *error = where() + "nothing follows the end event";
        return false;
    }
    std::string problem = parse_event(line, m_header.axes, m_header.buttons, event);
    if (problem.empty()) problem = m_clock.admit(event);
    if (!problem.empty()) {
        *error = where() + problem;
        return false;
    }
    m_ended = event.kind == flight_event_t::end;
    return true;
}

bool flight_reader_t::rewind(std::string* error) {
    error->clear();
    if (!m_file || std::fseek(m_file, m_events_at, SEEK_SET) != 0) {
        *error = m_path + ": cannot read the flight again: " + std::strerror(errno);
        return false;
    }
    m_line = m_events_line;
    m_ended = m_pending = false;
    m_clock = flight_clock_check_t{};
    return true;
}

bool check_flight(const std::string& path, flight_header_t* header, std::uint32_t* last_msec, std::string* error) {
    flight_reader_t reader;
    if (!reader.open(path, error)) return false;
    flight_event_t event;
    std::uint32_t last = 0;
    while (reader.next(event, error)) last = event.msec;
    if (header) *header = reader.header();
    if (last_msec) *last_msec = last;
    return error->empty();
}
