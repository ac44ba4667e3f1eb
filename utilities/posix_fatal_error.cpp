// POSIX fatal error report: the message box of a desktop system becomes one
// line on standard error.

#include "utilities/fatal_error.h"

#include "utilities/bounded_format.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

namespace libutils {

int fatal_exit_status(int code) {
    // An exit status keeps only 8 bits: codes outside 1..255 (errno 0 among
    // them) would read as success or as another code, so they end with 1.
    return (code >= 1 && code <= 255) ? code : EXIT_FAILURE;
}

void fatal_error_report(const char* operation) { fatal_error_report(operation, errno); }

void fatal_error_report(const char* operation, int code) {
    if (operation == nullptr) operation = "";
    const char* system_text = std::strerror(code);
    if (system_text == nullptr) system_text = "";

    // 40 characters cover the fixed words and any int in decimal.
    std::vector<char> line(std::strlen(system_text) + std::strlen(operation) + 40, '\0');
    bounded_format(line.data(), line.size(), "%s failed with error %d: %s", operation, code, system_text);

    // Whatever the program printed so far must not be lost with the process.
    std::cout.flush();
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", line.data());
    std::fflush(stderr);
    // No static destructors: the state that just failed may be part of them.
    std::_Exit(fatal_exit_status(code));
}

}  // namespace libutils
