#include "utilities/alloc_mmap_win.h"

#include "utilities/fatal_error.h"

#include <algorithm>
#include <cstring>
#include <iostream>

namespace libutils {
namespace {

const char* const k_operation = "alloc_mmap_win::allocate()";

std::uint64_t join_offset(std::uint32_t low, std::uint32_t high) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Writes the caller's line, then ends the program with the error of the
// failed call (saved first: writing the line may change it).
[[noreturn]] void fail(const char* file_name, const char* what) {
    const int code = last_os_error();
    std::cerr << (file_name != nullptr ? file_name : "") << what << std::endl;
    fatal_error_report(k_operation, code);
}

}  // namespace

void* alloc_mmap_win::allocate(std::uint32_t& request, const char* file_name, int mode, std::uint32_t offset_low,
                               std::uint32_t offset_high) {
    map_access wanted;
    if (mode == 0) {
        wanted = map_read;
    } else if (mode == 1) {
        wanted = map_write;
    } else {
        return nullptr;
    }
    // Anonymous memory of no size has nothing to map: an ordinary failure.
    if (file_name == nullptr && request == 0) return nullptr;

    const std::uint64_t offset = join_offset(offset_low, offset_high);
    os_handle_t opened = invalid_os_handle;
    if (file_name != nullptr) {
        opened = open_existing_file(file_name, wanted);
        if (opened == invalid_os_handle) fail(file_name, ": file open failed.");
    }
    // The mapping reaches to the end of the requested view, so that a view at
    // an offset fits in it (size 0: the whole file).
    const std::uint64_t extent = request == 0 ? 0 : offset + request;
    const os_handle_t made = create_file_mapping(opened, wanted, extent);
    if (made == invalid_os_handle) fail(file_name, ": create file mapping failed.");

    auto give_up = [&]() -> void* {
        close_file_mapping(made);
        if (opened != invalid_os_handle) close_file(opened);
        return nullptr;
    };
    if (request == 0) {
        // The whole file from the offset on; a view's size is 32 bits.
        const std::uint64_t whole = file_mapping_size(made);
        if (offset >= whole || whole - offset > UINT32_MAX) return give_up();
        request = static_cast<std::uint32_t>(whole - offset);
    }
    void* view = map_view(made, wanted, offset, request);
    if (view == nullptr) return give_up();

    size = request;
    access = wanted;
    file = opened;
    mapping = made;
    return view;
}

void* alloc_mmap_win::reallocate(void* view, std::uint32_t new_size, std::uint32_t offset_low,
                                 std::uint32_t offset_high) {
    const map_access view_access = access == map_write ? map_write : map_read;
    // The new view comes first so that a refused one leaves the old intact.
    void* fresh = map_view(mapping, view_access, join_offset(offset_low, offset_high), new_size);
    if (fresh == nullptr) return nullptr;
    // Anonymous memory has no file behind it: carry the contents over.
    if (file == invalid_os_handle && access == map_write && view != nullptr) {
        std::memcpy(fresh, view, std::min(size, new_size));
    }
    if (view != nullptr) unmap_view(mapping, view);
    size = new_size;
    return fresh;
}

void alloc_mmap_win::deallocate(void* view) {
    if (view != nullptr) unmap_view(mapping, view);
    if (mapping != invalid_os_handle) close_file_mapping(mapping);
    if (file != invalid_os_handle) close_file(file);
    mapping = invalid_os_handle;
    file = invalid_os_handle;
}

}  // namespace libutils
