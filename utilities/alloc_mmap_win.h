#pragma once
// File-mapping storage policy for the reference vectors: a view of a mapped
// file, or of anonymous memory. The platform services sit behind
// utilities/file_mapping.h.

#include "utilities/file_mapping.h"

#include <cstdint>

namespace libutils {

struct alloc_mmap_win {
    std::uint32_t size = 0;                // bytes of the current view
    std::uint32_t access = map_read;       // map_read or map_write
    os_handle_t file = invalid_os_handle;  // invalid for anonymous memory
    os_handle_t mapping = invalid_os_handle;

    // A view of size bytes at the 64-bit offset (offset_high:offset_low) of
    // the named file, or of anonymous memory without a name. mode 0 maps
    // read-only, 1 read-write; any other mode returns null at once. Size 0
    // with a name maps the file from the offset to its end and writes that
    // size back. The mapping is made once, reaching to the end of this view,
    // so no later view can reach past it.
    // A file that can not be opened or mapped ends the program through the
    // fatal error report; a view that can not be mapped returns null.
    void* allocate(std::uint32_t& size, const char* file_name, int mode, std::uint32_t offset_low,
                   std::uint32_t offset_high);

    // A new view of size bytes at the offset. Anonymous read-write memory
    // keeps the leading min(size, old size) bytes; file views show the file.
    // On failure returns null and the old view stays mapped and valid.
    void* reallocate(void* view, std::uint32_t size, std::uint32_t offset_low, std::uint32_t offset_high);

    // Unmaps the view and closes the mapping and the file.
    void deallocate(void* view);

    bool writable() const { return access == map_write; }
};

}  // namespace libutils
