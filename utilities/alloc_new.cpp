#include "utilities/alloc_new.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>

namespace libutils {
namespace {

// Reads up to size bytes from offset of the named file into data; whatever
// the file does not supply is zero, so a missing or short file never shows
// stale heap contents as its own.
void load_file(const char* file_name, unsigned char* data, std::uint32_t size, std::uint64_t offset) {
    std::streamsize got = 0;
    try {
        std::ifstream in(file_name, std::ios::in | std::ios::binary);
        if (in.is_open() && in.seekg(static_cast<std::streamoff>(offset), std::ios::beg)) {
            in.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(size));
            got = in.gcount();
        }
    } catch (...) {
        // A stream that fails while closing has still delivered what it read.
    }
    if (got < 0) got = 0;
    std::memset(data + got, 0, size - static_cast<std::uint32_t>(got));
}

}  // namespace

void* alloc_new::allocate(std::uint32_t& request, const char* file_name, int /*mode*/, std::uint32_t offset_low,
                          std::uint32_t offset_high) {
    if (file_name != nullptr && request == 0) {
        struct stat info;
        if (::stat(file_name, &info) != 0) return nullptr;
        // The size word is 32 bits: a larger file can not be loaded whole.
        if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > UINT32_MAX) {
            return nullptr;
        }
        request = static_cast<std::uint32_t>(info.st_size);
    }
    auto* data = new unsigned char[request];
    if (file_name != nullptr) {
        const std::uint64_t offset = (static_cast<std::uint64_t>(offset_high) << 32) | offset_low;
        load_file(file_name, data, request, offset);
    }
    size = request;
    return data;
}

void* alloc_new::reallocate(void* data, std::uint32_t new_size, std::uint32_t /*offset_low*/,
                            std::uint32_t /*offset_high*/) {
    auto* fresh = new unsigned char[new_size];
    if (data != nullptr) std::memcpy(fresh, data, std::min(new_size, size));
    size = new_size;
    delete[] static_cast<unsigned char*>(data);
    return fresh;
}

void alloc_new::deallocate(void* data) { delete[] static_cast<unsigned char*>(data); }

}  // namespace libutils
