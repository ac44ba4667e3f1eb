#pragma once
// Creating a file that must not exist yet, in one step, so that nothing a
// user made is overwritten. One implementation per platform, in a file named
// for it.

#include <cstdio>
#include <string>

// The new file open for writing, or null with *error set ("exists" when it
// does): O_CREAT | O_EXCL on POSIX, CREATE_NEW on Windows.
std::FILE* create_new_file(const std::string& path, std::string* error);
