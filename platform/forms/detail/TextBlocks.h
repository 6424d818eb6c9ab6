#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace platform::forms::detail {

/// The blocks that one grid's rows keep their texts in, carved from large chunks and reused
/// by size: a grid of a million rows would otherwise take a million blocks from the heap, one
/// fresh page after the other. The chunks ask the system for huge pages where it grants them,
/// which makes the first touch of a large grid's memory far cheaper.
///
/// Blocks given back next to each other join into one free run, from which blocks of any size
/// are taken: a pass that rewrites row after row into larger blocks (keys written after the
/// fill) thus reuses the blocks the rows left, which lie one after the other, rather than
/// taking as much fresh memory again.
///
/// Blocks larger than the largest size class come from the heap. Chunks and blocks from the
/// heap are given back when the pool goes; the pool must outlive every block taken from it.
class TextBlocks
{
public:
    TextBlocks() = default;
    TextBlocks(const TextBlocks&) = delete;
    TextBlocks& operator=(const TextBlocks&) = delete;
    ~TextBlocks();

    /// The number of words a request for `words` words is given (its size class).
    static std::uint32_t Rounded(std::uint32_t words);

    /// A block of Rounded(words) words, uninitialised.
    std::uint32_t* Take(std::uint32_t words);

    /// Gives back a block taken with the same `words`.
    void Give(std::uint32_t* block, std::uint32_t words);

    /// Stops taking blocks back: the pool goes next, with every block in it. A grid dropping
    /// all its rows at once would otherwise touch each row's block only to give it back.
    void Close() { m_closed = true; }
    /// Whether the pool takes no blocks back (see Close).
    bool Closed() const { return m_closed; }
    /// Takes blocks back again and forgets every block taken so far, handing out its chunks
    /// from the first on as if new: for a pool closed while its grid dropped all the rows
    /// that held blocks from it. Its memory, already touched, then holds the next rows one
    /// after the other, in the order they are written.
    void Reopen();

    /// The characters to make room for in a row written for the first time: what the last
    /// row that grew came to, a little less for every row asked for since, so that one long
    /// row does not make every later one large. Rows of a report come to much the same.
    std::uint32_t RowChars()
    {
        const std::uint32_t chars = m_rowChars >> kRowCharsShift;
        m_rowChars -= m_rowChars / 128;
        return chars;
    }
    /// Notes the characters a row grew to.
    void NoteRowChars(std::size_t chars)
    {
        m_rowChars = std::uint32_t(std::min<std::size_t>(chars, kMaxRowChars) << kRowCharsShift);
    }

private:
    static constexpr std::uint32_t kGranule = 4;   // words: blocks are multiples of 16 bytes
    static constexpr std::uint32_t kLargest = 512; // words: 2 KiB, larger ones from the heap
    static constexpr std::size_t kMaxRowChars = 1024; // a longer row is built at its size
    static constexpr int kRowCharsShift = 8;          // in 1/256 characters: it falls slowly

    std::uint32_t* Carve(std::uint32_t words);
    /// Puts a free range on the lists of its size classes.
    void Spill(std::uint32_t* begin, std::uint32_t* end);
    void Push(std::uint32_t* block, std::uint32_t words);

    std::array<std::uint32_t*, kLargest / kGranule + 1> m_free{}; // a list per size class
    std::vector<void*> m_chunks;
    std::size_t m_chunk = 0; // the chunk blocks are carved from, once there is one
    std::uint32_t* m_next = nullptr;
    std::uint32_t* m_end = nullptr;
    // The free run: blocks given back one after the other.
    std::uint32_t* m_runBegin = nullptr;
    std::uint32_t* m_runEnd = nullptr;
    std::uint32_t m_rowChars = 0;
    std::unordered_set<std::uint32_t*> m_large; // blocks from the heap, not given back yet
    bool m_closed = false;
};

} // namespace platform::forms::detail
