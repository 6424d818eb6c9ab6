#include "platform/runtime/HugeBlocks.h"

#include <cstdint>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace platform::runtime {

namespace {

std::size_t Rounded(std::size_t bytes)
{
    const std::size_t pages = (bytes + kHugeBlockSize - 1) / kHugeBlockSize;
    return (pages == 0 ? 1 : pages) * kHugeBlockSize;
}

// Freed single blocks are kept for the next request, up to this many: a read that follows
// another then reuses memory it has already faulted in, as it would reuse the allocator's,
// instead of having the system clear fresh pages for it each time.
constexpr std::size_t kBlocksKept = 256;

struct KeptBlocks
{
    // Room for every block kept from the start: keeping one never allocates.
    KeptBlocks() { blocks.reserve(kBlocksKept); }
    std::mutex lock;
    std::vector<void*> blocks;
};

KeptBlocks& Kept()
{
    // Never destroyed: blocks may be freed by objects that outlive static destruction.
    static auto* kept = new KeptBlocks;
    return *kept;
}

void* TakeKeptBlock()
{
    auto& kept = Kept();
    const std::lock_guard guard(kept.lock);
    if (kept.blocks.empty())
        return nullptr;
    void* block = kept.blocks.back();
    kept.blocks.pop_back();
    return block;
}

bool KeepBlock(void* block)
{
    auto& kept = Kept();
    const std::lock_guard guard(kept.lock);
    if (kept.blocks.size() >= kBlocksKept)
        return false;
    kept.blocks.push_back(block);
    return true;
}

} // namespace

void* NewHugeBlock(std::size_t bytes)
{
    if (Rounded(bytes) == kHugeBlockSize)
        if (void* block = TakeKeptBlock())
            return block;
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

void AdviseHugePages(const void* data, std::size_t bytes) noexcept
{
    const auto from = reinterpret_cast<std::uintptr_t>(data);
    const auto first = (from + kHugeBlockSize - 1) / kHugeBlockSize * kHugeBlockSize;
    const auto last = (from + bytes) / kHugeBlockSize * kHugeBlockSize;
    if (data != nullptr && last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void FreeHugeBlock(void* block, std::size_t bytes) noexcept
{
    if (block == nullptr)
        return;
    try {
        if (Rounded(bytes) == kHugeBlockSize && KeepBlock(block))
            return;
    } catch (...) {
        // The list could not be locked: the block goes back to the system.
    }
    ::munmap(block, Rounded(bytes));
}

} // namespace platform::runtime
