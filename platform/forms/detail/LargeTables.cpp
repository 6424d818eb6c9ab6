#include "platform/forms/detail/LargeTables.h"

#include <sys/mman.h>

#include <cstdint>

namespace platform::forms::detail {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t Rounded(std::size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

void* MapLarge(std::size_t bytes)
{
    bytes = Rounded(bytes);
    // Mapped a huge page larger than asked, then trimmed to an aligned run of huge pages.
    const std::size_t mapped = bytes + kHugePage;
    void* p = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* base = static_cast<char*>(p);
    const auto at = reinterpret_cast<std::uintptr_t>(base);
    char* aligned = base + (kHugePage - at % kHugePage) % kHugePage;
    if (aligned > base) {
        munmap(base, std::size_t(aligned - base));
    }
    if (char* tail = aligned + bytes; tail < base + mapped) {
        munmap(tail, std::size_t(base + mapped - tail));
    }
#ifdef MADV_HUGEPAGE
    // Only advice: where huge pages are not granted, the memory works with small ones.
    madvise(aligned, bytes, MADV_HUGEPAGE);
#endif
    return aligned;
}

void UnmapLarge(void* p, std::size_t bytes) noexcept
{
    if (p != nullptr) {
        munmap(p, Rounded(bytes));
    }
}

} // namespace platform::forms::detail
