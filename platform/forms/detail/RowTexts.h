#pragma once

#include "platform/forms/detail/TypedCells.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace platform::forms::detail {

class TextBlocks;

/// How many rows ahead a walk over a grid's rows asks for their text blocks (RowTexts::Prefetch):
/// enough to keep the memory busy while the rows between are read.
inline constexpr int kPrefetchRows = 16;

/// Calls f with a value of the type of a row's offsets 1 << widthLog2 bytes wide.
template <typename F> decltype(auto) OnWidth(unsigned widthLog2, F f)
{
    switch (widthLog2) {
    case 0:
        return f(std::uint8_t{});
    case 1:
        return f(std::uint16_t{});
    default:
        return f(std::uint32_t{});
    }
}

/// Gives a row's text block back where it came from: a grid's pool, or the heap when null.
struct TextBlockRelease
{
    TextBlocks* pool = nullptr;
    void operator()(std::uint32_t* block) const;
};

/// The texts of one grid row's cells, kept together in one block: a large grid holds a text
/// per cell, and a string object per cell (with a heap block for every text past a few
/// characters) made a filled grid several times the size of its texts.
///
/// Cells past the stored count are empty. The block holds the count, its own size, the end
/// offset of every cell's characters, then the characters; writing a cell moves the
/// characters of the cells after it. The offsets take one, two or four bytes each, the fewest
/// that can count every character the block has room for: most rows hold a few hundred
/// characters in a few dozen cells, where four-byte offsets took a third of the block.
///
/// Beside the texts a row keeps what they read as (numbers, dates), read once when first
/// asked for and forgotten when the text changes, and the exact numbers behind computed
/// aggregates.
class RowTexts
{
public:
    RowTexts() = default;
    /// A row whose blocks come from a grid's pool, which must outlive it.
    explicit RowTexts(TextBlocks* pool);
    /// A copy takes its block from the heap: it may outlive the grid it was copied from.
    RowTexts(const RowTexts& other);
    RowTexts& operator=(const RowTexts& other);
    RowTexts(RowTexts&&) noexcept = default;
    // Inline: a sort moves every row of a grid a few times.
    RowTexts& operator=(RowTexts&& other) noexcept
    {
        if (this != &other) {
            // The typed values go back to the pool of the block they came with.
            m_typed.Release(Pool());
            m_block = std::move(other.m_block);
            m_typed = std::move(other.m_typed);
        }
        return *this;
    }
    ~RowTexts() { m_typed.Release(Pool()); }

    /// Asks the processor to fetch the start of the block ahead of a read: a walk over the
    /// rows of a sorted grid meets the blocks in no order that the processor could guess.
    void Prefetch() const
    {
        if (m_block) {
            __builtin_prefetch(m_block.get());
            __builtin_prefetch(reinterpret_cast<const char*>(m_block.get()) + 64);
        }
    }

    /// The number of cells stored; the cells after them are empty.
    int Count() const { return m_block ? int(m_block[0] & kCountMask) : 0; }

    /// The text of a cell; empty past the stored cells. Valid until the row is written.
    std::string_view Text(int col) const
    {
        if (col < 0 || col >= Count()) {
            return {};
        }
        // Read often (sorts, subtotals, keys): both ends at once, in the offsets' own width.
        return OnWidth(WidthLog2(), [&](auto tag) { return TextAt<decltype(tag)>(col); });
    }

    /// Writes a cell's text. A row that must grow takes room for `width` cells at once (the
    /// grid's column count), so that filling a row left to right reorganises it once. An empty
    /// text past the stored cells changes nothing.
    void Set(int col, std::string_view text, int width = 0);

    /// Drops the cells from `cols` on.
    void Truncate(int cols);

    /// Moves the cell at `col` to `position`; the cells between shift by one.
    void MoveCell(int col, int position);

    /// Whether a value read from a text is kept for the next time it is asked for.
    enum class Keep
    {
        Yes, ///< asked for again (sorts, single subtotal operations)
        No,  ///< read once: keeping it would cost more memory than reading it again
    };

    /// What a cell reads as in a column of dates (dateColumn: a date, else a number) or of
    /// anything else (a number): an exact value when one was set, else a value kept from an
    /// earlier read, else the text read in the current locale's forms (and kept as keep says,
    /// until the text or the locale changes).
    TypedValue Value(int col, bool dateColumn, Keep keep = Keep::Yes) const;

    /// The value kept for a cell read in the column kind and locale forms of the moment, if
    /// one is kept; reads nothing.
    std::optional<TypedValue> Kept(int col, bool dateColumn) const;

    /// The exact number behind a computed aggregate's text, if the cell has one.
    std::optional<double> Exact(int col) const;

    /// Gives a cell's text (written just before) its exact number; writing the text again
    /// forgets it.
    void SetExact(int col, double value);

private:
    // Words of the block: [0] the cell count, with the offsets' width in its top two bits
    // (log2 of their bytes); [1] the block's size in words; then the end offsets, padded to
    // whole words; then the characters.
    static constexpr std::uint32_t kHeader = 2;
    static constexpr std::uint32_t kCountMask = (1u << 30) - 1;
    static constexpr int kWidthShift = 30;

    /// Words taken by `count` offsets of 1 << widthLog2 bytes.
    static std::uint32_t OffsetWords(int count, unsigned widthLog2)
    {
        return ((std::uint32_t(count) << widthLog2) + 3) / 4;
    }
    unsigned WidthLog2() const { return m_block[0] >> kWidthShift; }
    unsigned char* Offsets() const { return reinterpret_cast<unsigned char*>(m_block.get() + kHeader); }
    std::uint32_t End(int col) const
    {
        return OnWidth(WidthLog2(), [&](auto tag) { return LoadEnd<decltype(tag)>(col); });
    }
    template <typename T> std::uint32_t LoadEnd(int col) const
    {
        T end;
        std::memcpy(&end, Offsets() + std::size_t(col) * sizeof(T), sizeof(T));
        return end;
    }
    /// The text of a stored cell of a row whose offsets are of type T.
    template <typename T> std::string_view TextAt(int col) const
    {
        constexpr unsigned widthLog2 = sizeof(T) == 1 ? 0 : sizeof(T) == 2 ? 1 : 2;
        const std::uint32_t start = col == 0 ? 0 : LoadEnd<T>(col - 1);
        const char* chars = reinterpret_cast<const char*>(m_block.get() + kHeader +
                                                          OffsetWords(Count(), widthLog2));
        return {chars + start, LoadEnd<T>(col) - start};
    }
    std::uint32_t CharCount() const { return Count() == 0 ? 0 : End(Count() - 1); }
    char* Chars() const
    {
        return reinterpret_cast<char*>(m_block.get() + kHeader + OffsetWords(Count(), WidthLog2()));
    }
    /// Sets the end offsets from `col` on to `end`.
    void SetEnds(int col, std::uint32_t end);
    /// Adds `shift` (wrapping) to the end offsets from `col` on.
    void ShiftEnds(int col, std::uint32_t shift);
    /// Set without forgetting the cell's typed value.
    void Write(int col, std::string_view text, int width);
    /// Rebuilds the block for `count` cells with the text of `col` replaced.
    void Rebuild(int count, int col, std::string_view text);

    using Block = std::unique_ptr<std::uint32_t[], TextBlockRelease>;
    /// A block of at least `words` words from `pool` (the heap when null); its size, as given,
    /// in word 1.
    static Block Allocate(TextBlocks* pool, std::uint32_t words);

    TextBlocks* Pool() const { return m_block.get_deleter().pool; }

    Block m_block;
    // Filled in as values are asked for: logically part of the texts they are read from.
    mutable TypedCells m_typed;
};

} // namespace platform::forms::detail
