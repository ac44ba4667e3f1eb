// The instantiations the program's libraries use, compiled once here so that
// every member of each is checked.

#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector.h"
#include "utilities/refvector2.h"

namespace libutils {

template class refvector2<unsigned char, alloc_mmap_win>;
template class ofsvector<unsigned char, alloc_mmap_win>;
template class refvector<unsigned short, alloc_new>;

}  // namespace libutils
