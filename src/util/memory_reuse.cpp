#include "util/memory_reuse.h"

#include <malloc.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>

#include "base/bulk_pages.h"

namespace util {

namespace {

constexpr int kHeapStep = 128 * 1024 * 1024;

// Grows the heap by at least kHeapStep now and allows its new stretch huge
// pages. Where the heap cannot grow in place (or the allocator is not the C
// library's), nothing is advised and pages come one at a time as before.
void growHeapForHugePages() {
    mallopt(M_TOP_PAD, kHeapStep);
    char* const before = static_cast<char*>(::sbrk(0));
    // A block larger than what the heap holds free makes it grow; kept in a
    // volatile so the compiler cannot drop the pair.
    static void* volatile probe;
    probe = std::malloc(1024 * 1024);
    std::free(probe);
    char* const after = static_cast<char*>(::sbrk(0));
    if (before == reinterpret_cast<char*>(-1) || after <= before) return;
    base::allowHugePages(before, static_cast<std::size_t>(after - before));
}

}  // namespace

void keepFreedMemoryForReuse() {
    // Blocks up to the library's largest mapping threshold come from the
    // heap, and the heap's top is trimmed only when a quarter of a gigabyte
    // lies free there.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    growHeapForHugePages();
}

}  // namespace util
