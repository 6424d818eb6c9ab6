#include "platform/forms/detail/TypedCells.h"

#include "platform/forms/detail/TextBlocks.h"

#include <cstring>

namespace platform::forms::detail {
namespace {

constexpr std::uint32_t kFirstRoom = 2; // entries: most rows are asked about few cells
constexpr int kMaxColumn = 0xFFFF;

std::uint32_t* Take(TextBlocks* pool, std::uint32_t words)
{
    return pool != nullptr ? pool->Take(words) : new std::uint32_t[words];
}

void Give(TextBlocks* pool, std::uint32_t* block, std::uint32_t words)
{
    if (pool != nullptr) {
        pool->Give(block, words);
    } else {
        delete[] block;
    }
}

} // namespace

TypedCells TypedCells::HeapCopy(const TypedCells& other)
{
    TypedCells copy;
    if (other.Count() != 0) {
        const std::uint32_t words = kHeader + other.m_block[1] * kEntryWords;
        copy.m_block = Take(nullptr, words);
        std::memcpy(copy.m_block, other.m_block, words * sizeof(std::uint32_t));
    }
    return copy;
}

std::uint32_t* TypedCells::FindWords(int col) const
{
    for (std::uint32_t i = 0; i < Count(); ++i) {
        if (ColumnOf(At(i)) == col) {
            return At(i);
        }
    }
    return nullptr;
}

std::optional<TypedCells::Entry> TypedCells::Find(int col) const
{
    const std::uint32_t* words = FindWords(col);
    if (words == nullptr) {
        return std::nullopt;
    }
    Entry entry;
    entry.value.kind = TypedValue::Kind((words[0] >> 16) & 0xFFu);
    entry.dateColumn = (words[0] >> 24) != 0;
    entry.generation = words[1];
    std::memcpy(&entry.value.value, words + 2, sizeof(double));
    return entry;
}

void TypedCells::Store(TextBlocks* pool, int col, const Entry& entry)
{
    if (col < 0 || col > kMaxColumn) {
        return;
    }
    std::uint32_t* words = FindWords(col);
    if (words == nullptr) {
        const std::uint32_t count = Count();
        const std::uint32_t room = m_block == nullptr ? 0 : m_block[1];
        if (count == room) {
            const std::uint32_t newRoom = room == 0 ? kFirstRoom : room * 2;
            std::uint32_t* block = Take(pool, kHeader + newRoom * kEntryWords);
            block[0] = count;
            block[1] = newRoom;
            block[2] = block[3] = 0;
            if (m_block != nullptr) {
                std::memcpy(block + kHeader, m_block + kHeader,
                            count * kEntryWords * sizeof(std::uint32_t));
                Give(pool, m_block, kHeader + room * kEntryWords);
            }
            m_block = block;
        }
        words = At(m_block[0]++);
    }
    words[0] = std::uint32_t(col) | std::uint32_t(entry.value.kind) << 16 |
               std::uint32_t(entry.dateColumn ? 1 : 0) << 24;
    words[1] = entry.generation;
    std::memcpy(words + 2, &entry.value.value, sizeof(double));
}

void TypedCells::Remove(std::uint32_t i)
{
    const std::uint32_t last = m_block[0] - 1;
    if (i != last) {
        std::memcpy(At(i), At(last), kEntryWords * sizeof(std::uint32_t));
    }
    m_block[0] = last;
}

void TypedCells::Drop(int col)
{
    for (std::uint32_t i = 0; i < Count(); ++i) {
        if (ColumnOf(At(i)) == col) {
            Remove(i);
            return;
        }
    }
}

void TypedCells::Truncate(int cols)
{
    for (std::uint32_t i = Count(); i-- > 0;) {
        if (ColumnOf(At(i)) >= cols) {
            Remove(i);
        }
    }
}

void TypedCells::MoveCell(int col, int position)
{
    for (std::uint32_t i = 0; i < Count(); ++i) {
        const int c = ColumnOf(At(i));
        int moved = c;
        if (c == col) {
            moved = position;
        } else if (col < position && c > col && c <= position) {
            moved = c - 1;
        } else if (position < col && c >= position && c < col) {
            moved = c + 1;
        }
        if (moved > kMaxColumn) {
            Remove(i--);
            continue;
        }
        At(i)[0] = (At(i)[0] & ~0xFFFFu) | std::uint32_t(moved);
    }
}

void TypedCells::ReleaseBlock(TextBlocks* pool) noexcept
{
    if (pool == nullptr || !pool->Closed()) {
        Give(pool, m_block, kHeader + m_block[1] * kEntryWords);
    }
    m_block = nullptr;
}

} // namespace platform::forms::detail
