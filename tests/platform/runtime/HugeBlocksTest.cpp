#include "platform/runtime/HugeBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform::runtime {
namespace {

TEST(HugeBlocksTest, BlocksAreAlignedWholeAndApart)
{
    // Sizes below, at and above one huge page, and none: each block is aligned to a huge page,
    // every byte of its whole huge pages can be written, and live blocks never overlap.
    struct Block
    {
        char* at;
        std::size_t bytes;
        std::size_t usable;
        char fill;
    };
    std::vector<Block> blocks;
    char fill = 'a';
    for (const std::size_t bytes : {std::size_t{0}, std::size_t{1}, kHugeBlockSize - 1,
                                    kHugeBlockSize, kHugeBlockSize + 1, 3 * kHugeBlockSize}) {
        const std::size_t pages = bytes == 0 ? 1 : (bytes + kHugeBlockSize - 1) / kHugeBlockSize;
        auto* at = static_cast<char*>(NewHugeBlock(bytes));
        ASSERT_NE(at, nullptr) << bytes;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(at) % kHugeBlockSize, 0u) << bytes;
        std::memset(at, fill, pages * kHugeBlockSize);
        blocks.push_back({at, bytes, pages * kHugeBlockSize, fill++});
    }
    for (const auto& b : blocks) {
        for (std::size_t i = 0; i < b.usable; i += 4093)
            ASSERT_EQ(b.at[i], b.fill) << b.bytes << " at " << i;
        EXPECT_EQ(b.at[b.usable - 1], b.fill) << b.bytes;
    }
    for (const auto& b : blocks)
        FreeHugeBlock(b.at, b.bytes);
    FreeHugeBlock(nullptr, kHugeBlockSize);
}

TEST(HugeBlocksTest, AFreedBlockServesTheNextRequest)
{
    // A block given back is reused rather than mapped anew (and then cleared by the system).
    void* first = NewHugeBlock(kHugeBlockSize);
    static_cast<char*>(first)[0] = 'x';
    FreeHugeBlock(first, kHugeBlockSize);
    void* again = NewHugeBlock(kHugeBlockSize / 2);
    EXPECT_EQ(again, first);
    FreeHugeBlock(again, kHugeBlockSize / 2);
}

TEST(HugeBlocksTest, AdviceKeepsWhatABufferHolds)
{
    // Advice on a buffer partly written already, on a small one and on none changes no byte.
    std::vector<std::uint32_t> large(3 * kHugeBlockSize / sizeof(std::uint32_t) + 7);
    for (std::size_t i = 0; i < large.size() / 2; ++i)
        large[i] = static_cast<std::uint32_t>(i * 2654435761u);
    std::vector<char> small(100, 's');
    AdviseHugePages(large.data(), large.size() * sizeof(large[0]));
    AdviseHugePages(small.data(), small.size());
    AdviseHugePages(nullptr, kHugeBlockSize * 4);
    for (std::size_t i = 0; i < large.size(); ++i)
        ASSERT_EQ(large[i], i < large.size() / 2 ? static_cast<std::uint32_t>(i * 2654435761u) : 0u)
            << i;
    EXPECT_EQ(std::count(small.begin(), small.end(), 's'), 100);
}

} // namespace
} // namespace platform::runtime
