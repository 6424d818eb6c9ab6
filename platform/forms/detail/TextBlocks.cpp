#include "platform/forms/detail/TextBlocks.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace platform::forms::detail {
namespace {

constexpr std::size_t kChunkBytes = std::size_t(2) << 20; // one huge page

// A chunk aligned to its size, so that the system can back it with one huge page.
void* MapChunk()
{
    void* p =
        mmap(nullptr, 2 * kChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* base = static_cast<char*>(p);
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(base);
    char* aligned = base + ((kChunkBytes - at % kChunkBytes) % kChunkBytes);
    if (aligned > base) {
        munmap(base, std::size_t(aligned - base));
    }
    if (char* tail = aligned + kChunkBytes; tail < base + 2 * kChunkBytes) {
        munmap(tail, std::size_t(base + 2 * kChunkBytes - tail));
    }
#ifdef MADV_HUGEPAGE
    // Only advice: where huge pages are not granted, the chunk works with small ones.
    madvise(aligned, kChunkBytes, MADV_HUGEPAGE);
#endif
    return aligned;
}

} // namespace

TextBlocks::~TextBlocks()
{
    for (void* chunk : m_chunks) {
        munmap(chunk, kChunkBytes);
    }
}

std::uint32_t TextBlocks::Rounded(std::uint32_t words)
{
    return (words + kGranule - 1) / kGranule * kGranule;
}

std::uint32_t* TextBlocks::Take(std::uint32_t words)
{
    words = Rounded(words);
    if (words > kLargest) {
        return new std::uint32_t[words];
    }
    std::uint32_t*& head = m_free[words / kGranule];
    if (head != nullptr) {
        std::uint32_t* block = head;
        std::memcpy(&head, block, sizeof head); // a free block holds the next free one
        return block;
    }
    return Carve(words);
}

void TextBlocks::Give(std::uint32_t* block, std::uint32_t words)
{
    words = Rounded(words);
    if (words > kLargest) {
        delete[] block;
        return;
    }
    std::uint32_t*& head = m_free[words / kGranule];
    std::memcpy(block, &head, sizeof head);
    head = block;
}

std::uint32_t* TextBlocks::Carve(std::uint32_t words)
{
    if (m_next == nullptr || std::size_t(m_end - m_next) < words) {
        // The rest of the old chunk stays unused: at most one block's worth.
        m_chunks.reserve(m_chunks.size() + 1);
        void* chunk = MapChunk();
        m_chunks.push_back(chunk);
        m_next = static_cast<std::uint32_t*>(chunk);
        m_end = m_next + kChunkBytes / sizeof(std::uint32_t);
    }
    std::uint32_t* block = m_next;
    m_next += words;
    return block;
}

} // namespace platform::forms::detail
