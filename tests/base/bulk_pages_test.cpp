#include "base/bulk_pages.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Asking for a block's pages never changes what the block or its neighbours
// hold, wherever the block starts and however long it is.
TEST(BulkPages, LeaveTheContentsAsTheyWere) {
    const std::size_t total = 9 * 1024 * 1024;
    std::vector<std::uint8_t> memory(total);
    for (std::size_t i = 0; i < total; ++i)
        memory[i] = static_cast<std::uint8_t>(i * 31 + i / 65536);
    const std::vector<std::uint8_t> before = memory;
    const struct {
        std::size_t offset, size;
    } blocks[] = {
        {0, 0},        {3, 100}, {5, 20000}, {4096, 4096 * 10}, {12345, 4 * 1024 * 1024 + 17},
        {1, total - 2}};
    for (const auto& b : blocks) {
        base::allowHugePages(memory.data() + b.offset, b.size);
        base::preparePages(memory.data() + b.offset, b.size);
    }
    base::preparePages(nullptr, 1 << 20);
    base::allowHugePages(nullptr, 1 << 20);
    EXPECT_EQ(memory, before);
}

}  // namespace
