#pragma once
// The loader's question "does the driver offer this name?", kept free of GL
// so it can be asked of plain strings.

#include <forward_list>

namespace gl_ext {

// Returns one of the driver's strings; null or "" means the driver offers nothing.
using string_source_t = const char* (*)();

// Answers by name whether the driver offers a GL version ("GL_VERSION_3_0")
// or an extension. WGL names are looked up in the GL extension string too.
class query_t {
public:
    query_t(string_source_t version, string_source_t extensions);

    // 1 when offered, 0 otherwise (also for empty names and names with spaces).
    int supported(const char* name);

    // The version names the driver's version string reaches, newest first.
    // Built by the first query that finds it empty.
    const std::forward_list<const char*>& versions() const { return m_versions; }

private:
    void build_versions();

    string_source_t m_version;
    string_source_t m_extensions;
    std::forward_list<const char*> m_versions;
};

// True when `name` occurs in the space-separated `list` as a whole word.
bool has_word(const char* list, const char* name);

// True when the driver's version string (e.g. "4.5 (Compatibility Profile)
// Mesa 22.3.6") is at least `lowest` (e.g. "4.5.0"), compared number by number.
bool version_at_least(const char* driver, const char* lowest);

}  // namespace gl_ext
