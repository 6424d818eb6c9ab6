#include "platform/runtime/HugeBlocks.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace platform::runtime {

namespace {

std::size_t Rounded(std::size_t bytes)
{
    const std::size_t pages = (bytes + kHugeBlockSize - 1) / kHugeBlockSize;
    return (pages == 0 ? 1 : pages) * kHugeBlockSize;
}

} // namespace

void* NewHugeBlock(std::size_t bytes)
{
    // A mapping of its own, so that no neighbour has touched its pages in small ones before:
    // one huge page more than asked, trimmed to an aligned run of huge pages.
    const std::size_t size = Rounded(bytes);
    const std::size_t mapped = size + kHugeBlockSize;
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    auto* base = static_cast<char*>(p);
    const auto at = reinterpret_cast<std::uintptr_t>(base);
    char* aligned = base + (kHugeBlockSize - at % kHugeBlockSize) % kHugeBlockSize;
    if (aligned > base)
        ::munmap(base, static_cast<std::size_t>(aligned - base));
    if (char* tail = aligned + size; tail < base + mapped)
        ::munmap(tail, static_cast<std::size_t>(base + mapped - tail));
    // Only a hint: without huge pages the block works the same, with more page faults.
    ::madvise(aligned, size, MADV_HUGEPAGE);
    return aligned;
}

void FreeHugeBlock(void* block, std::size_t bytes) noexcept
{
    if (block != nullptr)
        ::munmap(block, Rounded(bytes));
}

} // namespace platform::runtime
