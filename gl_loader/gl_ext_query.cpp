#include "gl_loader/gl_ext_query.h"

#include <cstring>

namespace gl_ext {

namespace {

struct version_row_t {
    const char* name;
    const char* lowest;
};

// Versions the query can report; GL 1.0 and 1.1 are a given.
const version_row_t version_table[] = {
    {"GL_VERSION_1_2", "1.2.0"}, {"GL_VERSION_1_3", "1.3.0"}, {"GL_VERSION_1_4", "1.4.0"}, {"GL_VERSION_1_5", "1.5.0"},
    {"GL_VERSION_2_0", "2.0.0"}, {"GL_VERSION_2_1", "2.1.0"}, {"GL_VERSION_3_0", "3.0.0"}, {"GL_VERSION_3_1", "3.1.0"},
    {"GL_VERSION_3_2", "3.2.0"}, {"GL_VERSION_3_3", "3.3.0"}, {"GL_VERSION_4_0", "4.0.0"}, {"GL_VERSION_4_1", "4.1.0"},
    {"GL_VERSION_4_2", "4.2.0"}, {"GL_VERSION_4_3", "4.3.0"}, {"GL_VERSION_4_4", "4.4.0"}, {"GL_VERSION_4_5", "4.5.0"},
    {"GL_VERSION_4_6", "4.6.0"},
};

// Reads a decimal number and advances past it; 0 when no digit is there.
// Saturates instead of overflowing on absurdly long digit runs.
unsigned long read_number(const char*& s) {
    unsigned long n = 0;
    for (; *s >= '0' && *s <= '9'; ++s) n = n > 100000000ul ? n : n * 10 + static_cast<unsigned long>(*s - '0');
    return n;
}

}  // namespace

bool has_word(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    if (length == 0) return false;
    for (const char* window = list; const char* hit = std::strstr(window, name); window = hit + 1) {
        // Bounded by the string's start (not the window's: "GL_aGL_a" does not
        // list GL_a) or a space.
        const bool starts = hit == list || hit[-1] == ' ';
        const char after = hit[length];
        if (starts && (after == ' ' || after == '\0')) return true;
    }
    return false;
}

bool version_at_least(const char* driver, const char* lowest) {
    const char* d = driver;
    const char* r = lowest;
    for (;;) {
        const unsigned long dn = read_number(d);
        const unsigned long rn = read_number(r);
        if (dn != rn) return dn > rn;
        if (*d == '\0') return *r == '\0';
        if (*r == '\0') return true;
        ++d;  // the separator, whatever it is
        ++r;
        if (*d == '\0') return *r == '\0';
        if (*r == '\0') return true;
    }
}

query_t::query_t(string_source_t version, string_source_t extensions) : m_version(version), m_extensions(extensions) {}

void query_t::build_versions() {
    const char* driver = m_version();
    // No context or no answer: leave the list empty so the next query asks again.
    if (driver == nullptr || *driver == '\0') return;
    for (const version_row_t& row : version_table) {
        if (version_at_least(driver, row.lowest)) m_versions.push_front(row.name);
    }
}

int query_t::supported(const char* name) {
    if (m_versions.empty()) build_versions();
    if (name == nullptr || *name == '\0' || std::strchr(name, ' ') != nullptr) return 0;
    const char* extensions = m_extensions();
    if (extensions != nullptr && has_word(extensions, name)) return 1;
    for (const char* version : m_versions) {
        if (std::strcmp(version, name) == 0) return 1;
    }
    return 0;
}

}  // namespace gl_ext
