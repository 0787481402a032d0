#include "base/bulk_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace base {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// Below a few pages the request costs about what the touches it saves do.
constexpr std::size_t kWorthAsking = 16 * 1024;

std::uintptr_t pageSize() {
    static const std::uintptr_t size = [] {
        const long s = ::sysconf(_SC_PAGESIZE);
        return s > 0 ? static_cast<std::uintptr_t>(s) : std::uintptr_t{4096};
    }();
    return size;
}

std::uintptr_t down(std::uintptr_t a, std::uintptr_t unit) {
    return a / unit * unit;
}
std::uintptr_t up(std::uintptr_t a, std::uintptr_t unit) {
    return down(a + unit - 1, unit);
}

// Only whole units inside the block are asked for: the pages at its edges may
// be shared with neighbouring blocks, whose memory is not the block's to
// advise on.
void advise(std::uintptr_t begin, std::uintptr_t end, std::uintptr_t unit, int advice) {
    const std::uintptr_t from = up(begin, unit);
    const std::uintptr_t to = down(end, unit);
    // A refusal (an older system, no huge pages) leaves the first touch to
    // bring the pages, as without the request.
    if (from < to) (void)::madvise(reinterpret_cast<void*>(from), to - from, advice);
}

}  // namespace

void allowHugePages(void* start, std::size_t size) {
#ifdef MADV_HUGEPAGE
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    if (start != nullptr) advise(begin, begin + size, kHugePage, MADV_HUGEPAGE);
#else
    (void)start, (void)size;
#endif
}

void preparePages(void* start, std::size_t size) {
    if (start == nullptr || size < kWorthAsking) return;
    allowHugePages(start, size);
#ifdef MADV_POPULATE_WRITE
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t end = begin + size;
    advise(begin, end, pageSize(), MADV_POPULATE_WRITE);
#endif
}

}  // namespace base
