// POSIX: open with O_EXCL, which fails when the name exists, even as a link.
#include "flight/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::FILE* create_new_file(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = errno == EEXIST ? "exists" : std::strerror(errno);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "w");
    if (!file) {
        *error = std::strerror(errno);
        ::close(fd);
    }
    return file;
}
