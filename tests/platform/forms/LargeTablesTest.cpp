// Large grid tables in huge-page mappings: aligned, writable, and kept whole through growth.
#include "platform/forms/detail/LargeTables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace platform::forms::detail;

TEST(LargeTablesTest, MappingsAreAlignedToHugePagesAndWritable)
{
    for (std::size_t bytes : {std::size_t(1), kLargeTableBytes, kLargeTableBytes + 12345}) {
        void* p = MapLarge(bytes);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % (std::size_t(2) << 20), 0u) << bytes;
        std::memset(p, 0x5a, bytes);
        EXPECT_EQ(static_cast<unsigned char*>(p)[bytes - 1], 0x5a);
        UnmapLarge(p, bytes);
    }
}

TEST(LargeTablesTest, TablesKeepTheirValuesAcrossTheThresholdBothWays)
{
    // Grows from heap blocks into mappings, then shrinks back below the threshold.
    std::vector<std::uint64_t, LargeTableAllocator<std::uint64_t>> table;
    const std::size_t n = 3 * kLargeTableBytes / sizeof(std::uint64_t);
    for (std::size_t i = 0; i < n; ++i) {
        table.push_back(i * 7);
    }
    table.resize(1000);
    table.shrink_to_fit();
    table.push_back(1);
    ASSERT_EQ(table.size(), 1001u);
    for (std::size_t i = 0; i < 1000; ++i) {
        ASSERT_EQ(table[i], i * 7) << i;
    }
}

} // namespace
