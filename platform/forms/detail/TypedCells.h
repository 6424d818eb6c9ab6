#pragma once

#include <cstdint>
#include <optional>

namespace platform::forms::detail {

class TextBlocks;

/// What a cell's text reads as under its column's data type.
struct TypedValue
{
    enum class Kind : std::uint8_t
    {
        Empty,  ///< no text
        Number, ///< a number in the locale's form
        Date,   ///< a date (and time) in the locale's short form, as a day serial
        Text,   ///< anything else
        Exact,  ///< the exact number behind a computed aggregate's text
    };
    Kind kind = Kind::Empty;
    double value = 0;

    /// The number an aggregate takes from the cell: numbers, dates and exact values.
    std::optional<double> Number() const
    {
        return kind == Kind::Number || kind == Kind::Date || kind == Kind::Exact
                   ? std::optional<double>(value)
                   : std::nullopt;
    }
};

/// The typed values of one row's cells, kept beside its texts so that sorts and aggregates
/// read each text once: a few entries, one per cell asked about, in one small block.
///
/// The owner gives the pool the block comes from (null: the heap) with every call that may
/// allocate or free, and calls Release before it goes.
class TypedCells
{
public:
    /// What is kept for a cell: its value, the kind of column it was read for and the locale
    /// forms it was read under (exact values hold whatever the column and the forms).
    struct Entry
    {
        TypedValue value;
        bool dateColumn = false;
        std::uint32_t generation = 0;
    };

    TypedCells() = default;
    TypedCells(TypedCells&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
    /// Takes other's block; the own one must have been released.
    TypedCells& operator=(TypedCells&& other) noexcept
    {
        if (this != &other) {
            m_block = other.m_block;
            other.m_block = nullptr;
        }
        return *this;
    }
    TypedCells(const TypedCells&) = delete;
    TypedCells& operator=(const TypedCells&) = delete;
    ~TypedCells() = default;

    /// A copy of other's entries in a block from the heap.
    static TypedCells HeapCopy(const TypedCells& other);

    /// The entry of a cell, if it has one.
    std::optional<Entry> Find(int col) const;
    /// Stores the entry of a cell, replacing the one it had. Cells past the 65,536th are not
    /// kept: they are read again each time.
    void Store(TextBlocks* pool, int col, const Entry& entry);
    /// Forgets the entry of a cell (its text changed).
    void Drop(int col);
    /// Forgets the entries from `cols` on.
    void Truncate(int cols);
    /// Renumbers the entries as the cell at `col` moves to `position`.
    void MoveCell(int col, int position);
    /// Gives the block back to pool.
    void Release(TextBlocks* pool) noexcept
    {
        if (m_block != nullptr) {
            ReleaseBlock(pool);
        }
    }

private:
    // Words: [0] the entry count, [1] the room in entries, [2..3] unused; then four words per
    // entry: the column, kind and column kind; the generation; the value.
    static constexpr std::uint32_t kHeader = 4;
    static constexpr std::uint32_t kEntryWords = 4;

    std::uint32_t Count() const { return m_block == nullptr ? 0 : m_block[0]; }
    std::uint32_t* At(std::uint32_t i) const { return m_block + kHeader + i * kEntryWords; }
    static int ColumnOf(const std::uint32_t* entry) { return int(entry[0] & 0xFFFFu); }
    std::uint32_t* FindWords(int col) const;
    void ReleaseBlock(TextBlocks* pool) noexcept;
    void Remove(std::uint32_t i);

    std::uint32_t* m_block = nullptr; // owned; freed through Release by the owner
};

} // namespace platform::forms::detail
