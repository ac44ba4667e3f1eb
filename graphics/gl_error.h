#pragma once

namespace libgr {

// Takes one pending GL error, if any, and writes it to stderr as
// "<label>: Error <number>: <GLU text>" (without "<label>: " when label is
// null). Returns true when an error was pending.
bool CheckGLError(const char* label);

}  // namespace libgr
