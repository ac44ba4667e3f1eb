// Maps a file read-only through the file-mapping allocator: a name that does
// not exist takes its fatal path (a line on standard error, the message box,
// the exit code of the Windows error).
#include "utilities/alloc_mmap_win.h"

#include <cstdint>
#include <iostream>

int main(int argc, char** argv) {
    const char* name = argc > 1 ? argv[1] : "no_such_file.bin";
    std::cout << "mapping " << name << std::endl;
    libutils::alloc_mmap_win storage;
    std::uint32_t size = 0;  // the whole file
    void* view = storage.allocate(size, name, 0, 0, 0);
    std::cout << (view != nullptr ? "mapped " : "no view of ") << size << " bytes" << std::endl;
    storage.deallocate(view);
    return view != nullptr ? 0 : 1;
}
