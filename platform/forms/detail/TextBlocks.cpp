#include "platform/forms/detail/TextBlocks.h"

#include "platform/forms/detail/LargeTables.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace platform::forms::detail {
namespace {

constexpr std::size_t kChunkBytes = std::size_t(2) << 20; // one huge page

} // namespace

TextBlocks::~TextBlocks()
{
    for (void* chunk : m_chunks) {
        UnmapLarge(chunk, kChunkBytes);
    }
    for (std::uint32_t* block : m_large) {
        delete[] block;
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
        std::unique_ptr<std::uint32_t[]> block(new std::uint32_t[words]); // not zeroed
        m_large.insert(block.get());
        return block.release();
    }
    std::uint32_t*& head = m_free[words / kGranule];
    if (head != nullptr) {
        std::uint32_t* block = head;
        std::memcpy(&head, block, sizeof head); // a free block holds the next free one
        return block;
    }
    if (std::size_t(m_runEnd - m_runBegin) >= words) {
        std::uint32_t* block = m_runBegin;
        m_runBegin += words;
        return block;
    }
    return Carve(words);
}

void TextBlocks::Give(std::uint32_t* block, std::uint32_t words)
{
    if (m_closed) {
        return;
    }
    words = Rounded(words);
    if (words > kLargest) {
        m_large.erase(block);
        delete[] block;
        return;
    }
    if (m_runBegin != nullptr && block == m_runEnd) {
        m_runEnd += words;
        return;
    }
    if (m_runBegin != nullptr && block + words == m_runBegin) {
        m_runBegin = block;
        return;
    }
    // A block elsewhere starts the next run; what is left of this one goes on the lists.
    Spill(m_runBegin, m_runEnd);
    m_runBegin = block;
    m_runEnd = block + words;
}

void TextBlocks::Spill(std::uint32_t* begin, std::uint32_t* end)
{
    while (begin < end) {
        const auto words = std::uint32_t(std::min<std::ptrdiff_t>(end - begin, kLargest));
        Push(begin, words);
        begin += words;
    }
}

void TextBlocks::Push(std::uint32_t* block, std::uint32_t words)
{
    std::uint32_t*& head = m_free[words / kGranule];
    std::memcpy(block, &head, sizeof head); // a free block holds the next free one
    head = block;
}

void TextBlocks::Reopen()
{
    for (std::uint32_t* block : m_large) {
        delete[] block;
    }
    m_large.clear();
    m_free.fill(nullptr);
    m_runBegin = m_runEnd = nullptr;
    m_chunk = 0;
    m_next = m_chunks.empty() ? nullptr : static_cast<std::uint32_t*>(m_chunks.front());
    m_end = m_next == nullptr ? nullptr : m_next + kChunkBytes / sizeof(std::uint32_t);
    m_closed = false;
}

std::uint32_t* TextBlocks::Carve(std::uint32_t words)
{
    if (m_next == nullptr || std::size_t(m_end - m_next) < words) {
        // The rest of the old chunk stays unused: at most one block's worth. A chunk left by
        // Reopen is used again before a new one is mapped.
        void* chunk = nullptr;
        if (m_next != nullptr && m_chunk + 1 < m_chunks.size()) {
            chunk = m_chunks[++m_chunk];
        } else {
            m_chunks.reserve(m_chunks.size() + 1);
            chunk = MapLarge(kChunkBytes);
            m_chunks.push_back(chunk);
            m_chunk = m_chunks.size() - 1;
        }
        m_next = static_cast<std::uint32_t*>(chunk);
        m_end = m_next + kChunkBytes / sizeof(std::uint32_t);
    }
    std::uint32_t* block = m_next;
    m_next += words;
    return block;
}

} // namespace platform::forms::detail
