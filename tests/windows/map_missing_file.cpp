// Asks the file-mapping allocator for a file that does not exist: its fatal path writes a line on stderr, shows the
// error box and exits with the Windows error code. test_wine.py reads the box and dismisses it.
#include "utilities/alloc_mmap_win.h"
#include "utilities/refvector2.h"

int main(int argc, char** argv) {
    libutils::refvector2<unsigned char, libutils::alloc_mmap_win> bytes;
    return bytes.allocate(0, argc > 1 ? argv[1] : "no_such_file.bin", 0) ? 0 : 1;
}
