#pragma once
// Heap storage policy for the reference vectors: plain byte arrays, optionally
// filled from a file (whole-file loading).

#include <cstdint>

namespace libutils {

struct alloc_new {
    std::uint32_t size = 0;  // bytes allocated

    // A new byte array of size bytes. With a file name it is filled from the
    // file, starting at the 64-bit offset (offset_high:offset_low); size 0
    // asks for the whole file, and the file's size is written back into size.
    // Returns null only for a whole-file request whose file can not be
    // queried (nothing is allocated then). Bytes the file could not supply
    // (missing file, short file) are zero. Plain heap arrays (no file name)
    // are not initialised. mode (read-only 0, read-write 1) is ignored: heap
    // storage is always writable. Heap exhaustion throws std::bad_alloc.
    void* allocate(std::uint32_t& size, const char* file_name, int mode, std::uint32_t offset_low,
                   std::uint32_t offset_high);

    // A new array of size bytes holding the leading min(size, old size)
    // bytes of data; frees data. The offset is not used.
    void* reallocate(void* data, std::uint32_t size, std::uint32_t offset_low, std::uint32_t offset_high);

    void deallocate(void* data);

    bool writable() const { return true; }
};

}  // namespace libutils
