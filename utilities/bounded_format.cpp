#include "utilities/bounded_format.h"

#include <cstdio>
#include <cstring>

namespace libutils {

std::size_t bounded_vformat(char* buffer, std::size_t size, const char* format, std::va_list args) {
    if (buffer == nullptr || size < 1) return 0;
    const int produced = std::vsnprintf(buffer, size, format, args);
    // An error or a cut text: terminate at the last character so the buffer
    // always holds a string, whatever the formatter left behind.
    if (produced < 0 || static_cast<std::size_t>(produced) > size - 1) buffer[size - 1] = '\0';
    if (produced < 0) return std::strlen(buffer);
    return static_cast<std::size_t>(produced) < size ? static_cast<std::size_t>(produced) : size - 1;
}

std::size_t bounded_format(char* buffer, std::size_t size, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const std::size_t written = bounded_vformat(buffer, size, format, args);
    va_end(args);
    return written;
}

}  // namespace libutils
