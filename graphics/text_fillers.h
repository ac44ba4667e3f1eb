#pragma once
// Small insertable text fillers for aligned diagnostic output.

#include <cstddef>
#include <ostream>

namespace libgr {

// count characters from text, one by one (count 0 writes nothing).
struct char_run {
    const char* text;
    std::size_t count;
};

// c written count times.
struct char_repeat {
    char c;
    std::size_t count;
};

// count blanks.
struct spaces {
    std::size_t count;
};

inline std::ostream& operator<<(std::ostream& os, const char_run& r) {
    for (std::size_t i = 0; i < r.count; ++i) os.put(r.text[i]);
    return os;
}

inline std::ostream& operator<<(std::ostream& os, const char_repeat& r) {
    for (std::size_t i = 0; i < r.count; ++i) os.put(r.c);
    return os;
}

inline std::ostream& operator<<(std::ostream& os, const spaces& s) { return os << char_repeat{' ', s.count}; }

}  // namespace libgr
