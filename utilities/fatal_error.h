#pragma once
// The last resort of libutils: an operating-system failure it cannot recover
// from is reported to the user and ends the process. Each platform provides
// these in its own file (posix_fatal_error.cpp: a line on stderr;
// win32_fatal_error.cpp: a message box).

namespace libutils {

// Reports "<operation> failed with error <code>: <system text>" and ends the
// process with the code as its exit status. Reads the calling thread's last
// system error (errno on POSIX) first thing.
[[noreturn]] void fatal_error_report(const char* operation);

// The same with an error code the caller saved before writing its own
// diagnostics (which may overwrite the thread's last error).
[[noreturn]] void fatal_error_report(const char* operation, int code);

// The exit status the report ends the process with for an error code; never
// 0, so a failure can not pass for success.
int fatal_exit_status(int code);

}  // namespace libutils
