#pragma once
// The platform's lookup of GL commands by name.

namespace gl_ext {

using proc_t = void (*)();

// Address of the named GL command in the current context, or null. Some
// platforms return a non-null stub for names the driver does not implement.
proc_t proc_address(const char* name);

}  // namespace gl_ext
