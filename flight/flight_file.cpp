#include "flight/flight_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

const char* const flight_setting_names[4] = {"HALL_MESH_MODE", "HALL_MESH_BOUNDING", "HALL_MESH_INTERVAL",
                                             "HALL_MESH_FOG"};

namespace {

const char* const time_key_names[4] = {"left", "right", "up", "down"};

std::string key_name(unsigned char key) { return key == ' ' ? "space" : std::string(1, static_cast<char>(key)); }

}  // namespace

std::string flight_number(float v) {
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(v));
        if (std::strtof(text, nullptr) == v) break;
    }
    return text;
}

namespace {

// a is earlier than b, the demo clock wrapping modulo 2^32.
bool earlier(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool all_digits(const std::string& w) { return !w.empty() && w.find_first_not_of("0123456789") == std::string::npos; }

// A whole unsigned decimal number no larger than most.
bool read_unsigned(const std::string& w, std::uint64_t most, std::uint64_t& value) {
    if (!all_digits(w) || w.size() > 20) return false;
    value = std::strtoull(w.c_str(), nullptr, 10);
    return value <= most && w.size() <= std::to_string(most).size();
}

// A decimal number (digits, sign, point, exponent) read whole.
bool read_float(const std::string& w, float& value) {
    if (w.empty() || w.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
    char* end = nullptr;
    value = std::strtof(w.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

}  // namespace

std::string format_event(const flight_event_t& e) {
    std::string line = std::to_string(e.msec) + ' ';
    switch (e.kind) {
    case flight_event_t::press: return line + "press " + key_name(e.key);
    case flight_event_t::release: return line + "release " + key_name(e.key);
    case flight_event_t::time: return line + "time " + time_key_names[static_cast<int>(e.time_key)];
    case flight_event_t::stick:
        line += "stick";
        for (float a : e.axes) line += ' ' + flight_number(a);
        return line + " buttons " + std::to_string(e.buttons);
    case flight_event_t::end: break;
    }
    return line + "end";
}

std::string format_header(const flight_header_t& h) {
    std::string text = std::string(flight_first_line) + '\n';
    for (int i = 0; i < 4; ++i) text += std::string("setting ") + flight_setting_names[i] + ' ' + h.settings[i] + '\n';
    if (h.axes > 0 || h.buttons > 0) text += "stick " + std::to_string(h.axes) + ' ' + std::to_string(h.buttons) + '\n';
    return text;
}

std::string flight_clock_check_t::admit(const flight_event_t& e) {
    const std::uint32_t floor = (m_started && earlier(m_clock, m_scene)) ? m_clock : m_scene;
    if (m_started && earlier(e.msec, floor))
        return "time " + std::to_string(e.msec) + " comes before " + std::to_string(floor) +
               ": times never run backwards but where a time key stepped the demo clock back";
    m_started = true;
    if (e.kind == flight_event_t::time) {
        m_clock = e.msec + static_cast<std::uint32_t>(time_key_step(e.time_key));
    } else {
        m_scene = e.msec;
        if (earlier(m_clock, e.msec)) m_clock = e.msec;
    }
    return "";
}

std::string parse_event(const std::string& line, int axes, int buttons, flight_event_t& e) {
    const std::vector<std::string> w = words(line);
    if (w.empty()) return "an empty event";
    std::uint64_t msec = 0;
    if (!read_unsigned(w[0], 0xFFFFFFFFu, msec))
        return "\"" + w[0] + "\" is not a time: a whole number of ms from 0 to 4294967295";
    e = flight_event_t{};
    e.msec = static_cast<std::uint32_t>(msec);
    const std::string what = w.size() > 1 ? w[1] : "";
    std::size_t used = 2;
    if (what == "press" || what == "release") {
        if (w.size() < 3) return what + " needs a key";
        const unsigned char key = w[2] == "space" ? ' ' : w[2].size() == 1 ? static_cast<unsigned char>(w[2][0]) : 0;
        if (!is_flight_key(key)) return "\"" + w[2] + "\" is not a key a flight holds";
        if (what == "release" && !is_thruster_key(key)) return "only a thruster key (0-6, 8) is released";
        e.kind = what == "press" ? flight_event_t::press : flight_event_t::release;
        e.key = key;
        used = 3;
    } else if (what == "time") {
        int k = 0;
        while (k < 4 && (w.size() < 3 || w[2] != time_key_names[k])) ++k;
        if (k == 4) return "a time key is left, right, up or down";
        e.kind = flight_event_t::time;
        e.time_key = static_cast<time_key_t>(k);
        used = 3;
    } else if (what == "stick") {
        if (axes == 0 && buttons == 0) return "a stick reading in a flight without a stick line";
        e.kind = flight_event_t::stick;
        for (int i = 0; i < axes; ++i) {
            float a = 0.0f;
            if (w.size() <= used || !read_float(w[used], a) || a < -1.0f || a > 1.0f)
                return "axis " + std::to_string(i) + " of " + std::to_string(axes) + " is not a number from -1 to 1";
            e.axes.push_back(a);
            ++used;
        }
        std::uint64_t mask = 0;
        if (w.size() <= used + 1 || w[used] != "buttons" ||
            !read_unsigned(w[used + 1], (std::uint64_t{1} << buttons) - 1, mask))
            return "the axes are followed by \"buttons\" and a bit mask below 2^" + std::to_string(buttons);
        e.buttons = static_cast<std::uint32_t>(mask);
        used += 2;
    } else if (what == "end") {
        e.kind = flight_event_t::end;
    } else {
        return what.empty() ? "a time without an event" : "unknown event \"" + what + "\"";
    }
    if (w.size() > used) return "unexpected \"" + w[used] + "\" after the event";
    return "";
}
