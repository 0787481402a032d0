#pragma once
// The inversion frees and takes back arrays of the same sizes many times a
// second (every trial of a step). The C library's defaults hand large freed
// blocks back to the system at once and fault them in again on the next use,
// which cost more than the arithmetic; the program keeps them instead, at
// the price of holding on to its largest working set.
//
// Loading a large survey fills tens of megabytes of station arrays at once,
// and fetching those pages one at a time cost more than reading the file. The
// heap is therefore grown in one large step at the start, and that stretch
// may be backed by huge pages where the system offers them: the first touch
// of each 2 MB brings the whole of it. The step is address space only; pages
// are still fetched when first used.

namespace util {

// Called once at the start, before any large allocation.
void keepFreedMemoryForReuse();

}  // namespace util
