// POSIX file mapping. A "mapping" is a record of the file's descriptor (a
// duplicate, so it outlives the caller's file handle as a mapping object
// would) and the size it was created with; a view is an mmap of part of it.

#include "utilities/file_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <new>
#include <vector>

namespace libutils {
namespace {

struct view_record_t {
    void* view;          // what the caller got
    void* base;          // what mmap returned (page-aligned)
    std::size_t length;  // bytes mapped from base
};

struct posix_mapping_t {
    int fd = -1;  // -1 for anonymous memory
    std::uint64_t size = 0;
    map_access access = map_read;
    std::vector<view_record_t> views;
};

posix_mapping_t* to_mapping(os_handle_t handle) {
    return handle == invalid_os_handle ? nullptr : reinterpret_cast<posix_mapping_t*>(handle);
}

int protection(map_access access) { return access == map_write ? PROT_READ | PROT_WRITE : PROT_READ; }

}  // namespace

os_handle_t open_existing_file(const char* name, map_access access) {
    if (name == nullptr) {
        errno = EINVAL;
        return invalid_os_handle;
    }
    const int flags = (access == map_write ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    const int fd = ::open(name, flags);
    return fd < 0 ? invalid_os_handle : static_cast<os_handle_t>(fd);
}

os_handle_t create_file_mapping(os_handle_t file, map_access access, std::uint64_t size) {
    std::uint64_t mapping_size = size;
    int fd = -1;
    if (file == invalid_os_handle) {
        if (size == 0) {
            errno = EINVAL;
            return invalid_os_handle;
        }
    } else {
        struct stat info;
        if (::fstat(static_cast<int>(file), &info) != 0) return invalid_os_handle;
        const std::uint64_t file_size = static_cast<std::uint64_t>(info.st_size);
        if (size == 0) {
            mapping_size = file_size;
            if (mapping_size == 0) {  // nothing to map
                errno = EINVAL;
                return invalid_os_handle;
            }
        } else if (file_size < size) {
            // Views past the end of a file fault on access: a writable file
            // grows to the mapping, a read-only one can not be mapped.
            if (access != map_write) {
                errno = EINVAL;
                return invalid_os_handle;
            }
            if (::ftruncate(static_cast<int>(file), static_cast<off_t>(size)) != 0) {
                return invalid_os_handle;
            }
        }
        fd = ::fcntl(static_cast<int>(file), F_DUPFD_CLOEXEC, 0);
        if (fd < 0) return invalid_os_handle;
    }
    auto* mapping = new (std::nothrow) posix_mapping_t;
    if (mapping == nullptr) {
        if (fd >= 0) ::close(fd);
        errno = ENOMEM;
        return invalid_os_handle;
    }
    mapping->fd = fd;
    mapping->size = mapping_size;
    mapping->access = access;
    return reinterpret_cast<os_handle_t>(mapping);
}

std::uint64_t file_mapping_size(os_handle_t handle) {
    const posix_mapping_t* mapping = to_mapping(handle);
    return mapping == nullptr ? 0 : mapping->size;
}

void* map_view(os_handle_t handle, map_access access, std::uint64_t offset, std::uint32_t size) {
    posix_mapping_t* mapping = to_mapping(handle);
    if (mapping == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    if (access == map_write && mapping->access != map_write) {
        errno = EACCES;
        return nullptr;
    }
    if (offset >= mapping->size) {
        errno = EINVAL;
        return nullptr;
    }
    const std::uint64_t length = size == 0 ? mapping->size - offset : size;
    if (length > mapping->size - offset) {
        errno = EINVAL;
        return nullptr;
    }

    // mmap takes page-aligned file offsets only: map from the page holding
    // offset and hand out the address of offset inside it.
    const std::uint64_t page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t aligned = mapping->fd < 0 ? 0 : offset - offset % page;
    const std::uint64_t lead = mapping->fd < 0 ? 0 : offset - aligned;
    const std::size_t mapped_length = static_cast<std::size_t>(lead + length);
    const int flags = mapping->fd < 0 ? MAP_PRIVATE | MAP_ANONYMOUS : MAP_SHARED;
    void* base = ::mmap(nullptr, mapped_length, protection(access), flags, mapping->fd, static_cast<off_t>(aligned));
    if (base == MAP_FAILED) return nullptr;

    void* view = static_cast<unsigned char*>(base) + lead;
    try {
        mapping->views.push_back({view, base, mapped_length});
    } catch (const std::bad_alloc&) {
        ::munmap(base, mapped_length);
        errno = ENOMEM;
        return nullptr;
    }
    return view;
}

bool unmap_view(os_handle_t handle, void* view) {
    posix_mapping_t* mapping = to_mapping(handle);
    if (mapping == nullptr || view == nullptr) {
        errno = EINVAL;
        return false;
    }
    auto found = std::find_if(mapping->views.begin(), mapping->views.end(),
                              [view](const view_record_t& r) { return r.view == view; });
    if (found == mapping->views.end()) {
        errno = EINVAL;
        return false;
    }
    const int result = ::munmap(found->base, found->length);
    mapping->views.erase(found);
    return result == 0;
}

bool close_file_mapping(os_handle_t handle) {
    posix_mapping_t* mapping = to_mapping(handle);
    if (mapping == nullptr) {
        errno = EINVAL;
        return false;
    }
    // Views left open go with the record that knows how to unmap them.
    for (const view_record_t& record : mapping->views) ::munmap(record.base, record.length);
    const bool closed = mapping->fd < 0 || ::close(mapping->fd) == 0;
    delete mapping;
    return closed;
}

bool close_file(os_handle_t file) {
    if (file == invalid_os_handle) {
        errno = EBADF;
        return false;
    }
    return ::close(static_cast<int>(file)) == 0;
}

int last_os_error() { return errno; }

}  // namespace libutils
