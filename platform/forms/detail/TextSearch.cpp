#include "platform/forms/detail/TextSearch.h"

#include "platform/forms/detail/CellValues.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace platform::forms::detail {

namespace {

// The folded forms of the texts that are not ASCII, met so far in one walk: a report repeats
// its places, names and categories row after row, and folding through ICU costs far more
// than a look-up. The texts are the rows' own, which the walk does not change.
using FoldedTexts = std::unordered_map<std::string_view, std::string>;

// Appends a cell's text in FoldCase's form; false when it holds a NUL. Nearly every cell is
// ASCII: it is folded in the same pass that copies it.
bool AppendCell(std::string& out, std::string_view text, FoldedTexts& known)
{
    const std::size_t at = out.size();
    out.resize(at + text.size());
    char* to = out.data() + at;
    unsigned char high = 0;
    bool nul = false;
    for (const char ch : text) {
        high |= static_cast<unsigned char>(ch);
        nul = nul || ch == '\0';
        *to++ = (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch;
    }
    if (nul) {
        return false;
    }
    if (high & 0x80) {
        out.resize(at);
        auto found = known.find(text);
        if (found == known.end()) {
            found = known.emplace(text, FoldCase(text)).first;
        }
        out += found->second;
    }
    return true;
}

} // namespace

FoldedColumns::FoldedColumns(int cols) : m_columns(std::size_t(std::max(cols, 0))) {}

bool FoldedColumns::Holds(int col) const
{
    return col >= 0 && std::size_t(col) < m_columns.size() && m_columns[std::size_t(col)].held;
}

bool FoldedColumns::Add(const GridRows& rows, const std::vector<int>& cols)
{
    std::vector<Column*> added;
    for (const int c : cols) {
        Column& column = m_columns.at(std::size_t(c));
        column.starts.reserve(rows.size());
        added.push_back(&column);
    }
    constexpr std::size_t kMaxChars = std::numeric_limits<std::uint32_t>::max();
    FoldedTexts known;
    // Row by row: each row's block is read once, for all of its cells.
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r + kPrefetchRows < rows.size()) {
            rows[r + kPrefetchRows].cells.Prefetch();
        }
        const GridRow& row = rows[r];
        for (std::size_t i = 0; i < added.size(); ++i) {
            const std::string_view text = row.Text(cols[i]);
            Column& column = *added[i];
            column.starts.push_back(std::uint32_t(column.chars.size()));
            if (!AppendCell(column.chars, text, known)) {
                return false;
            }
            column.chars.push_back('\0');
            if (column.chars.size() > kMaxChars) {
                return false;
            }
        }
    }
    for (Column* column : added) {
        column->held = true;
    }
    return true;
}

int FoldedColumns::RowAt(const Column& column, std::size_t at)
{
    const auto next = std::upper_bound(column.starts.begin(), column.starts.end(), at);
    return int(next - column.starts.begin()) - 1;
}

int FoldedColumns::Find(int col, int start, std::string_view folded, bool wholeCell) const
{
    const Column& column = m_columns.at(std::size_t(col));
    if (!column.held || start < 0 || std::size_t(start) >= column.starts.size() ||
        folded.find('\0') != std::string_view::npos) {
        return -1;
    }
    const std::string_view chars = column.chars;
    if (!wholeCell) {
        // No match runs over a separator, as the needle holds none.
        const std::size_t at = chars.find(folded, column.starts[std::size_t(start)]);
        return at == std::string_view::npos ? -1 : RowAt(column, at);
    }
    // A whole cell is the needle between a cell's start and its separator.
    std::string needle(folded);
    needle.push_back('\0');
    for (std::size_t from = column.starts[std::size_t(start)];;) {
        const std::size_t at = chars.find(needle, from);
        if (at == std::string_view::npos) {
            return -1;
        }
        const int row = RowAt(column, at);
        if (column.starts[std::size_t(row)] == at) {
            return row;
        }
        from = at + 1;
    }
}

} // namespace platform::forms::detail

namespace platform::forms {

const detail::FoldedColumns* FlexGrid::Impl::FoldedFor(int c) const
{
    if (foldedRefused) {
        return nullptr;
    }
    if (!folded) {
        folded = std::make_shared<detail::FoldedColumns>(ColCount());
    }
    if (!folded->Holds(c)) {
        // A search of one shown column goes on with the others (the report window's find
        // searches each in turn): they are read in the same walk.
        std::vector<int> wanted{c};
        for (int other = 0; other < ColCount() && !cols[std::size_t(c)].hidden; ++other) {
            if (other != c && !cols[std::size_t(other)].hidden && !folded->Holds(other)) {
                wanted.push_back(other);
            }
        }
        if (!folded->Add(rows, wanted)) {
            DropFolded();
            foldedRefused = true;
            return nullptr;
        }
    }
    return folded.get();
}

} // namespace platform::forms
