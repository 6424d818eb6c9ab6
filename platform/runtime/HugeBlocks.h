#pragma once

#include <cstddef>

namespace platform::runtime {

/// The size of a huge page: memory taken in these steps is faulted in one huge page at a time
/// where the system grants huge pages, instead of 512 small pages.
inline constexpr std::size_t kHugeBlockSize = std::size_t(2) << 20;

/// Memory for a large table that is filled at once: `bytes` rounded up to whole huge pages,
/// aligned to a huge page and marked for huge pages; not cleared (a single block may be one
/// given back before). Give it back with FreeHugeBlock and the same size. Throws
/// std::bad_alloc when there is no memory.
void* NewHugeBlock(std::size_t bytes);
/// Gives back memory NewHugeBlock gave for `bytes` (null does nothing). Single blocks are kept
/// for reuse, up to a limit; the rest goes back to the system.
void FreeHugeBlock(void* block, std::size_t bytes) noexcept;

/// Marks the whole huge pages inside a large buffer that is about to be filled (a vector just
/// reserved) for huge pages, so that filling it faults them in one huge page at a time. Only
/// advice: smaller buffers, and systems without huge pages, are left as they are.
void AdviseHugePages(const void* data, std::size_t bytes) noexcept;

} // namespace platform::runtime
