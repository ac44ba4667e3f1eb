#pragma once
// The platform's file-mapping services, as far as alloc_mmap_win needs them:
// open an existing file, create a mapping of a file or of anonymous memory,
// map views of it at an offset, unmap them, close the handles. Each platform
// provides them in its own file (posix_file_mapping.cpp, win32_file_mapping.cpp). Failures
// return the invalid handle or null and leave the reason in last_os_error().

#include <cstdint>

namespace libutils {

// A file or mapping handle; an integer wide enough for a descriptor or a
// pointer-sized system handle.
using os_handle_t = std::intptr_t;
constexpr os_handle_t invalid_os_handle = -1;

// How a mapping and its views may be used.
enum map_access : std::uint32_t { map_read = 1, map_write = 2 };

// Opens an existing file for reading, or for reading and writing.
os_handle_t open_existing_file(const char* name, map_access access);

// Creates a mapping of the first size bytes of file, or of anonymous memory
// when file is invalid_os_handle. Size 0 maps the whole file (an anonymous
// mapping needs a size). A writable file shorter than size grows to it; a
// read-only one can not, and the mapping fails.
os_handle_t create_file_mapping(os_handle_t file, map_access access, std::uint64_t size);

// The size in bytes the mapping was created with.
std::uint64_t file_mapping_size(os_handle_t mapping);

// Maps size bytes of the mapping starting at offset (any offset: alignment is
// the platform's business); size 0 maps up to the mapping's end. A view can
// not reach past the mapping's size: such a request returns null.
void* map_view(os_handle_t mapping, map_access access, std::uint64_t offset, std::uint32_t size);

// Unmaps a view returned by map_view of that mapping.
bool unmap_view(os_handle_t mapping, void* view);

// Closes the mapping; views still mapped are unmapped with it.
bool close_file_mapping(os_handle_t mapping);
bool close_file(os_handle_t file);

// The error code of the last failed call above on this thread.
int last_os_error();

}  // namespace libutils
