#pragma once
// The inversion frees and takes back arrays of the same sizes many times a
// second (every trial of a step). The C library's defaults hand large freed
// blocks back to the system at once and fault them in again on the next use,
// which cost more than the arithmetic; the program keeps them instead, at
// the price of holding on to its largest working set.

namespace util {

// Called once at the start, before any large allocation.
void keepFreedMemoryForReuse();

}  // namespace util
