// Windows: CreateFileA with CREATE_NEW, which fails when the name exists; the
// handle becomes a C runtime stream.
#include "flight/new_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

std::FILE* create_new_file(const std::string& path, std::string* error) {
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        *error = code == ERROR_FILE_EXISTS ? "exists" : "Windows error " + std::to_string(code);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (!file) {
        *error = "cannot open the new file as a stream";
        if (fd >= 0)
            _close(fd);
        else
            CloseHandle(handle);
    }
    return file;
}
