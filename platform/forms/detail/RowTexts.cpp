#include "platform/forms/detail/RowTexts.h"

#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/TextBlocks.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace platform::forms::detail {
namespace {

std::uint32_t WordsFor(std::size_t chars)
{
    return std::uint32_t((chars + sizeof(std::uint32_t) - 1) / sizeof(std::uint32_t));
}

template <typename T> std::uint32_t Load(const unsigned char* offsets, int col)
{
    T value;
    std::memcpy(&value, offsets + std::size_t(col) * sizeof(T), sizeof(T));
    return value;
}

template <typename T> void Store(unsigned char* offsets, int col, std::uint32_t value)
{
    const T narrow = T(value);
    std::memcpy(offsets + std::size_t(col) * sizeof(T), &narrow, sizeof(T));
}

template <typename T> void AddFrom(unsigned char* offsets, int col, int count, std::uint32_t shift)
{
    for (int c = col; c < count; ++c) {
        Store<T>(offsets, c, Load<T>(offsets, c) + shift);
    }
}

/// A block rebuilt for `count` cells, keeping the first `keep` cells of the old one (their
/// characters end at `keptChars`), with the text of `col` (-1: none) replaced so that it
/// ends at `newEnd` where it ended at `colEnd`.
struct Rewrite
{
    int count = 0;
    int keep = 0;
    int col = -1;
    std::uint32_t keptChars = 0;
    std::uint32_t colEnd = 0;
    std::uint32_t newEnd = 0;
};

template <typename Old, typename New>
void CopyEnds(const unsigned char* from, unsigned char* to, const Rewrite& w)
{
    // Cells from `w.col` on move by the change of its length; empty cells past the kept ones
    // end where the kept characters do.
    const std::uint32_t shift = w.newEnd - w.colEnd; // wraps when the text got shorter
    for (int c = 0; c < w.count; ++c) {
        std::uint32_t end = c < w.keep ? Load<Old>(from, c) : w.keptChars;
        if (c >= w.col && w.col >= 0) {
            end += shift;
        }
        Store<New>(to, c, end);
    }
}

} // namespace

RowTexts::RowTexts(TextBlocks* pool) : m_block(nullptr, TextBlockRelease{pool}) {}

void TextBlockRelease::operator()(std::uint32_t* block) const
{
    if (pool != nullptr) {
        if (!pool->Closed()) { // a closed pool goes with its blocks: they are not touched
            pool->Give(block, block[1]);
        }
    } else {
        delete[] block;
    }
}

RowTexts::Block RowTexts::Allocate(TextBlocks* pool, std::uint32_t words)
{
    if (pool != nullptr) {
        words = TextBlocks::Rounded(words);
        Block block(pool->Take(words), TextBlockRelease{pool});
        block[1] = words;
        return block;
    }
    Block block(new std::uint32_t[words], TextBlockRelease{});
    block[1] = words;
    return block;
}

RowTexts::RowTexts(const RowTexts& other) : m_typed(TypedCells::HeapCopy(other.m_typed))
{
    if (other.m_block) {
        const std::uint32_t words = other.m_block[1];
        m_block = Allocate(nullptr, words);
        std::memcpy(m_block.get(), other.m_block.get(), words * sizeof(std::uint32_t));
    }
}

RowTexts& RowTexts::operator=(const RowTexts& other)
{
    if (this != &other) {
        *this = RowTexts(other);
    }
    return *this;
}

TypedValue RowTexts::Value(int col, bool dateColumn, Keep keep) const
{
    const std::string_view text = Text(col);
    if (text.empty()) {
        return {};
    }
    if (const auto kept = Kept(col, dateColumn)) {
        return *kept;
    }
    TypedValue value{TypedValue::Kind::Text, 0};
    const std::optional<double> date = dateColumn ? ParseDate(text) : std::nullopt;
    if (date) {
        value = {TypedValue::Kind::Date, *date};
    } else if (const auto number = ParseNumber(text)) {
        value = {TypedValue::Kind::Number, *number};
    }
    if (keep == Keep::Yes) {
        m_typed.Store(Pool(), col, {value, dateColumn, LocaleFormsGeneration()});
    }
    return value;
}

std::optional<TypedValue> RowTexts::Kept(int col, bool dateColumn) const
{
    const auto entry = m_typed.Find(col);
    if (entry &&
        (entry->value.kind == TypedValue::Kind::Exact ||
         (entry->dateColumn == dateColumn && entry->generation == LocaleFormsGeneration()))) {
        return entry->value;
    }
    return std::nullopt;
}

std::optional<double> RowTexts::Exact(int col) const
{
    const auto entry = m_typed.Find(col);
    if (entry && entry->value.kind == TypedValue::Kind::Exact) {
        return entry->value.value;
    }
    return std::nullopt;
}

void RowTexts::SetExact(int col, double value)
{
    m_typed.Store(Pool(), col, {{TypedValue::Kind::Exact, value}, false, 0});
}

void RowTexts::SetEnds(int col, std::uint32_t end)
{
    OnWidth(WidthLog2(), [&](auto tag) {
        using T = decltype(tag);
        unsigned char* offsets = Offsets();
        const int count = Count(); // read once: the stores below may alias it
        for (int c = col; c < count; ++c) {
            Store<T>(offsets, c, end);
        }
    });
}

void RowTexts::ShiftEnds(int col, std::uint32_t shift)
{
    OnWidth(WidthLog2(), [&](auto tag) { AddFrom<decltype(tag)>(Offsets(), col, Count(), shift); });
}

void RowTexts::Set(int col, std::string_view text, int width)
{
    m_typed.Drop(col);
    Write(col, text, width);
}

void RowTexts::Write(int col, std::string_view text, int width)
{
    const int count = Count();
    if (col >= count) {
        if (!text.empty()) {
            Rebuild(std::max(col + 1, width), col, text);
        }
        return;
    }
    char* chars = Chars();
    const std::uint32_t total = CharCount();
    if (text.data() >= chars && text.data() < chars + total) {
        // A text of this row itself: the moves below would overwrite it.
        Write(col, std::string(text), width);
        return;
    }
    const std::uint32_t start = col == 0 ? 0 : End(col - 1);
    const std::uint32_t end = End(col);
    const std::size_t newTotal = total - (end - start) + text.size();
    // The block's room bounds what its offsets can count: a row that outgrows it is rebuilt.
    if (kHeader + OffsetWords(count, WidthLog2()) + WordsFor(newTotal) > m_block[1]) {
        Rebuild(count, col, text);
        return;
    }
    std::memmove(chars + start + text.size(), chars + end, total - end);
    if (!text.empty()) {
        std::memcpy(chars + start, text.data(), text.size());
    }
    if (end == total) {
        // No characters after this cell (a row filled left to right): it and every cell after
        // it end where its new text does.
        SetEnds(col, std::uint32_t(newTotal));
        return;
    }
    const std::uint32_t shift = std::uint32_t(text.size()) - (end - start); // wraps when shorter
    ShiftEnds(col, shift);
}

void RowTexts::Truncate(int cols)
{
    m_typed.Truncate(cols);
    if (cols <= 0) {
        m_block.reset();
    } else if (cols < Count()) {
        Rebuild(cols, -1, {});
    }
}

void RowTexts::MoveCell(int col, int position)
{
    const int needed = std::max(col, position) + 1;
    if (col == position || col < 0 || position < 0) {
        return;
    }
    m_typed.MoveCell(col, position);
    if (Count() == 0) {
        return;
    }
    std::vector<std::string> texts;
    for (int c = 0; c < std::max(needed, Count()); ++c) {
        texts.emplace_back(Text(c));
    }
    if (col < position) {
        std::rotate(texts.begin() + col, texts.begin() + col + 1, texts.begin() + position + 1);
    } else {
        std::rotate(texts.begin() + position, texts.begin() + col, texts.begin() + col + 1);
    }
    m_block.reset();
    for (int c = int(texts.size()) - 1; c >= 0; --c) {
        Write(c, texts[size_t(c)], int(texts.size()));
    }
}

void RowTexts::Rebuild(int count, int col, std::string_view text)
{
    Rewrite w;
    w.count = count;
    w.keep = std::min(count, Count());
    w.col = col < count ? col : -1;
    w.keptChars = w.keep == 0 ? 0 : End(w.keep - 1);
    std::uint32_t colStart = w.keptChars;
    w.colEnd = w.keptChars;
    if (w.col >= 0 && w.col < w.keep) {
        colStart = w.col == 0 ? 0 : End(w.col - 1);
        w.colEnd = End(w.col);
    }
    const std::size_t inserted = w.col >= 0 ? text.size() : 0;
    w.newEnd = colStart + std::uint32_t(inserted);
    const std::size_t total = w.keptChars - (w.colEnd - colStart) + inserted;

    TextBlocks* pool = Pool();
    // A row written for the first time takes room for as many characters as the rows written
    // before it came to, so that a row filled cell by cell is built once.
    std::size_t room = total;
    if (pool != nullptr && Count() == 0) {
        room = std::max<std::size_t>(total, pool->RowChars());
    } else if (pool != nullptr && w.col >= 0) {
        pool->NoteRowChars(total);
    }
    // The narrowest offsets that can count every character the block will have room for.
    unsigned widthLog2 = 0;
    std::uint32_t words = 0;
    for (;; ++widthLog2) {
        const std::uint32_t offsetWords = OffsetWords(count, widthLog2);
        const std::uint32_t needed = kHeader + offsetWords + WordsFor(room);
        // Half as much again to spare: the keys a report writes into its rows after the fill
        // mostly fit without moving the row into a second block.
        words = needed + needed / 2 + 4;
        if (pool != nullptr) {
            words = TextBlocks::Rounded(words);
        }
        const std::uint64_t chars = std::uint64_t(words - kHeader - offsetWords) * 4;
        if (widthLog2 == 2 || chars < (std::uint64_t(1) << (8u << widthLog2))) {
            break;
        }
    }
    Block block = Allocate(pool, words);
    block[0] = std::uint32_t(count) | (widthLog2 << kWidthShift);
    auto* offsets = reinterpret_cast<unsigned char*>(block.get() + kHeader);
    char* chars = reinterpret_cast<char*>(block.get() + kHeader + OffsetWords(count, widthLog2));
    if (w.keptChars != 0) {
        // The kept characters around the rewritten cell, in two runs.
        std::memcpy(chars, Chars(), colStart);
        std::memcpy(chars + w.newEnd, Chars() + w.colEnd, w.keptChars - w.colEnd);
    }
    if (inserted != 0) {
        std::memcpy(chars + colStart, text.data(), inserted);
    }
    const unsigned char* from = w.keep == 0 ? nullptr : Offsets();
    const unsigned oldWidth = w.keep == 0 ? 0 : WidthLog2();
    OnWidth(oldWidth, [&](auto oldTag) {
        OnWidth(widthLog2, [&](auto newTag) {
            CopyEnds<decltype(oldTag), decltype(newTag)>(from, offsets, w);
        });
    });
    m_block = std::move(block);
}

} // namespace platform::forms::detail
