// Win32 file mapping. A "mapping" is a record of the section handle, the size
// it was created with and the views mapped from it: views start on the
// allocation granularity (64 KiB), so the record remembers where each one
// really begins, and closing the mapping can unmap what is left.

#include "utilities/file_mapping.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <vector>

namespace libutils {
namespace {

struct view_record_t {
    void* view;  // what the caller got
    void* base;  // what MapViewOfFile returned
};

struct win32_mapping_t {
    HANDLE section = nullptr;
    std::uint64_t size = 0;
    std::vector<view_record_t> views;
};

win32_mapping_t* to_mapping(os_handle_t handle) {
    return handle == invalid_os_handle ? nullptr : reinterpret_cast<win32_mapping_t*>(handle);
}

HANDLE to_handle(os_handle_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD high_part(std::uint64_t value) { return static_cast<DWORD>(value >> 32); }
DWORD low_part(std::uint64_t value) { return static_cast<DWORD>(value & 0xFFFFFFFFu); }

}  // namespace

os_handle_t open_existing_file(const char* name, map_access access) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return invalid_os_handle;
    }
    const DWORD file_access = access == map_write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    // No sharing: nobody else changes the file under the views.
    const HANDLE file = CreateFileA(name, file_access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return file == INVALID_HANDLE_VALUE ? invalid_os_handle : reinterpret_cast<os_handle_t>(file);
}

os_handle_t create_file_mapping(os_handle_t file, map_access access, std::uint64_t size) {
    // INVALID_HANDLE_VALUE is the invalid handle: anonymous memory backed by
    // the paging file. Windows itself refuses size 0 there, an empty file,
    // and a read-only file shorter than size; it grows a writable one.
    const HANDLE source = file == invalid_os_handle ? INVALID_HANDLE_VALUE : to_handle(file);
    const DWORD protection = access == map_write ? PAGE_READWRITE : PAGE_READONLY;
    const HANDLE section = CreateFileMappingA(source, nullptr, protection, high_part(size), low_part(size), nullptr);
    if (section == nullptr) return invalid_os_handle;

    std::uint64_t mapping_size = size;
    if (size == 0) {  // the whole file, as big as it is now
        LARGE_INTEGER file_size{};
        if (!GetFileSizeEx(source, &file_size)) {
            const DWORD code = GetLastError();
            CloseHandle(section);
            SetLastError(code);
            return invalid_os_handle;
        }
        mapping_size = static_cast<std::uint64_t>(file_size.QuadPart);
    }
    auto* mapping = new (std::nothrow) win32_mapping_t;
    if (mapping == nullptr) {
        CloseHandle(section);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return invalid_os_handle;
    }
    mapping->section = section;
    mapping->size = mapping_size;
    return reinterpret_cast<os_handle_t>(mapping);
}

std::uint64_t file_mapping_size(os_handle_t handle) {
    const win32_mapping_t* mapping = to_mapping(handle);
    return mapping == nullptr ? 0 : mapping->size;
}

void* map_view(os_handle_t handle, map_access access, std::uint64_t offset, std::uint32_t size) {
    win32_mapping_t* mapping = to_mapping(handle);
    if (mapping == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const std::uint64_t length = size == 0 && offset < mapping->size ? mapping->size - offset : size;
    if (offset >= mapping->size || length > mapping->size - offset) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }

    // MapViewOfFile takes offsets on the allocation granularity only: map from
    // the boundary below offset and hand out the address of offset inside.
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::uint64_t aligned = offset - offset % system.dwAllocationGranularity;
    const std::uint64_t lead = offset - aligned;
    if (lead + length > SIZE_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // A write view of a read-only mapping fails here with access denied.
    const DWORD view_access = access == map_write ? FILE_MAP_WRITE : FILE_MAP_READ;
    void* base = MapViewOfFile(mapping->section, view_access, high_part(aligned), low_part(aligned),
                               static_cast<SIZE_T>(lead + length));
    if (base == nullptr) return nullptr;

    void* view = static_cast<unsigned char*>(base) + lead;
    try {
        mapping->views.push_back({view, base});
    } catch (const std::bad_alloc&) {
        UnmapViewOfFile(base);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return view;
}

bool unmap_view(os_handle_t handle, void* view) {
    win32_mapping_t* mapping = to_mapping(handle);
    if (mapping == nullptr || view == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    auto found = std::find_if(mapping->views.begin(), mapping->views.end(),
                              [view](const view_record_t& r) { return r.view == view; });
    if (found == mapping->views.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const BOOL unmapped = UnmapViewOfFile(found->base);
    mapping->views.erase(found);
    return unmapped != FALSE;
}

bool close_file_mapping(os_handle_t handle) {
    win32_mapping_t* mapping = to_mapping(handle);
    if (mapping == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    // Windows keeps a section alive while views of it exist; the header's
    // contract is that closing the mapping ends them too.
    for (const view_record_t& record : mapping->views) UnmapViewOfFile(record.base);
    const BOOL closed = CloseHandle(mapping->section);
    delete mapping;
    return closed != FALSE;
}

bool close_file(os_handle_t file) {
    if (file == invalid_os_handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return CloseHandle(to_handle(file)) != FALSE;
}

int last_os_error() { return static_cast<int>(GetLastError()); }

}  // namespace libutils
