#include "util/memory_reuse.h"

#include <malloc.h>

namespace util {

void keepFreedMemoryForReuse() {
    // Blocks up to the library's largest mapping threshold come from the
    // heap, and the heap's top is trimmed only when a quarter of a gigabyte
    // lies free there.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

}  // namespace util
