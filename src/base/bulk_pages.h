#pragma once
// A block the program is about to fill in whole (a file read into it, the
// arrays of a profile) would otherwise come from the system one page at each
// first touch, and on a virtual machine such a touch costs far more than
// filling the page. Its pages are asked for in one request instead: as huge
// pages for the block's stretches that can hold them where the system offers
// them, the rest at once. Where the system refuses either, the pages come at
// the first touch as before; the contents of the block never change.

#include <cstddef>

namespace base {

void preparePages(void* start, std::size_t size);

// Lets the pages of the block's stretches that can hold a huge page come as
// huge pages when they are first touched; nothing is fetched now.
void allowHugePages(void* start, std::size_t size);

}  // namespace base
