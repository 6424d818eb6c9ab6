#include "platform/runtime/HugeBlocks.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace platform::runtime {

void* NewHugeBlock(std::size_t bytes)
{
    const std::size_t rounded = (bytes + kHugeBlockSize - 1) / kHugeBlockSize * kHugeBlockSize;
    void* block = std::aligned_alloc(kHugeBlockSize, rounded == 0 ? kHugeBlockSize : rounded);
    if (block == nullptr)
        throw std::bad_alloc();
    // Only a hint: without huge pages the block works the same, with more page faults.
    ::madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void FreeHugeBlock(void* block) noexcept
{
    std::free(block);
}

} // namespace platform::runtime
