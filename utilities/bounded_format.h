#pragma once
// printf-style formatting into a fixed buffer that never overflows it.

#include <cstdarg>
#include <cstddef>

namespace libutils {

// Formats into buffer (size characters, terminator included), cutting the
// text to fit and always leaving it terminated. A size below 1 writes
// nothing. Returns the number of characters left in the buffer.
std::size_t bounded_format(char* buffer, std::size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// The same with an argument list.
std::size_t bounded_vformat(char* buffer, std::size_t size, const char* format, std::va_list args);

}  // namespace libutils
