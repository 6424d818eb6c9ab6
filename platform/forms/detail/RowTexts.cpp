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

void StoreEnd(unsigned char* offsets, unsigned widthLog2, int col, std::uint32_t value)
{
    switch (widthLog2) {
    case 0:
        Store<std::uint8_t>(offsets, col, value);
        break;
    case 1:
        Store<std::uint16_t>(offsets, col, value);
        break;
    default:
        Store<std::uint32_t>(offsets, col, value);
        break;
    }
}

template <typename T> void AddFrom(unsigned char* offsets, int col, int count, std::uint32_t shift)
{
    for (int c = col; c < count; ++c) {
        Store<T>(offsets, c, Load<T>(offsets, c) + shift);
    }
}

} // namespace

RowTexts::RowTexts(TextBlocks* pool) : m_block(nullptr, TextBlockRelease{pool}) {}

void TextBlockRelease::operator()(std::uint32_t* block) const
{
    if (pool != nullptr) {
        pool->Give(block, block[1]);
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

RowTexts& RowTexts::operator=(RowTexts&& other) noexcept
{
    if (this != &other) {
        // The typed values go back to the pool of the block they came with.
        m_typed.Release(Pool());
        m_block = std::move(other.m_block);
        m_typed = std::move(other.m_typed);
    }
    return *this;
}

RowTexts::~RowTexts()
{
    m_typed.Release(Pool());
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

std::uint32_t RowTexts::End(int col) const
{
    switch (WidthLog2()) {
    case 0:
        return Load<std::uint8_t>(Offsets(), col);
    case 1:
        return Load<std::uint16_t>(Offsets(), col);
    default:
        return Load<std::uint32_t>(Offsets(), col);
    }
}

void RowTexts::ShiftEnds(int col, std::uint32_t shift)
{
    switch (WidthLog2()) {
    case 0:
        AddFrom<std::uint8_t>(Offsets(), col, Count(), shift);
        break;
    case 1:
        AddFrom<std::uint16_t>(Offsets(), col, Count(), shift);
        break;
    default:
        AddFrom<std::uint32_t>(Offsets(), col, Count(), shift);
        break;
    }
}

std::string_view RowTexts::Text(int col) const
{
    if (col < 0 || col >= Count()) {
        return {};
    }
    const std::uint32_t start = col == 0 ? 0 : End(col - 1);
    return {Chars() + start, End(col) - start};
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
    const int old = Count();
    auto textOf = [&](int c) { return c == col ? text : c < old ? Text(c) : std::string_view(); };
    std::size_t total = 0;
    for (int c = 0; c < count; ++c) {
        total += textOf(c).size();
    }
    TextBlocks* pool = m_block.get_deleter().pool;
    // The narrowest offsets that can count every character the block will have room for.
    unsigned widthLog2 = 0;
    std::uint32_t words = 0;
    for (;; ++widthLog2) {
        const std::uint32_t offsetWords = OffsetWords(count, widthLog2);
        const std::uint32_t needed = kHeader + offsetWords + WordsFor(total);
        // Half as much again to spare: a row written cell by cell is rebuilt a few times only,
        // and the keys a report writes into its rows after the fill mostly fit without moving
        // the row into a second block.
        words = needed + needed / 2 + 4;
        if (pool != nullptr) {
            words = TextBlocks::Rounded(words);
        }
        const std::uint64_t room = std::uint64_t(words - kHeader - offsetWords) * 4;
        if (widthLog2 == 2 || room < (std::uint64_t(1) << (8u << widthLog2))) {
            break;
        }
    }
    Block block = Allocate(pool, words);
    block[0] = std::uint32_t(count) | (widthLog2 << kWidthShift);
    auto* offsets = reinterpret_cast<unsigned char*>(block.get() + kHeader);
    char* chars = reinterpret_cast<char*>(block.get() + kHeader + OffsetWords(count, widthLog2));
    std::uint32_t at = 0;
    for (int c = 0; c < count; ++c) {
        const std::string_view t = textOf(c);
        if (!t.empty()) {
            std::memcpy(chars + at, t.data(), t.size());
        }
        at += std::uint32_t(t.size());
        StoreEnd(offsets, widthLog2, c, at);
    }
    m_block = std::move(block);
}

} // namespace platform::forms::detail
