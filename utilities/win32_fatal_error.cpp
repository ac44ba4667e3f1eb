// Win32 fatal error report: a message box captioned "Error" with the failed
// operation, the error code and the system's text for it, then the process
// ends with the code.

#include "utilities/fatal_error.h"

#include "utilities/bounded_format.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iostream>

namespace libutils {

int fatal_exit_status(int code) {
    // Exit codes are 32 bits wide on Windows: every code but 0 passes as is.
    return code != 0 ? code : 1;
}

void fatal_error_report(const char* operation) { fatal_error_report(operation, static_cast<int>(GetLastError())); }

void fatal_error_report(const char* operation, int code) {
    if (operation == nullptr) operation = "";
    char* system_text = nullptr;
    // With ALLOCATE_BUFFER the buffer argument receives the address of the
    // text that the system allocates (LocalAlloc), hence the cast.
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<char*>(&system_text), 0, nullptr);
    const char* shown_text = system_text != nullptr ? system_text : "";

    // 40 characters cover the fixed words and any int in decimal.
    const SIZE_T length = std::strlen(shown_text) + std::strlen(operation) + 40;
    auto* message = static_cast<char*>(LocalAlloc(LMEM_ZEROINIT, length * sizeof(char)));
    if (message != nullptr) {
        bounded_format(message, LocalSize(message), "%s failed with error %d: %s", operation, code, shown_text);
    }

    // Whatever the program printed so far must not be lost with the process.
    std::cout.flush();
    std::fflush(stdout);
    MessageBoxA(nullptr, message != nullptr ? message : operation, "Error", MB_OK);

    LocalFree(system_text);
    LocalFree(message);
    // No static destructors: the state that just failed may be part of them.
    ExitProcess(static_cast<UINT>(fatal_exit_status(code)));
}

}  // namespace libutils
