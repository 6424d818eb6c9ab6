#pragma once

#include "platform/forms/FlexGrid.h"
#include "platform/forms/detail/LargeTables.h"
#include "platform/forms/detail/RowTexts.h"
#include "platform/forms/detail/TextBlocks.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::forms::detail {

class FoldedColumns;

/// The formats of one cell; a row keeps them only once one of its cells has one.
struct CellFormat
{
    std::optional<Alignment> alignment;
    std::shared_ptr<platform::runtime::Object> picture;
    int pictureAlignment = 0;
    std::optional<std::uint32_t> backColor;
    std::optional<std::uint32_t> foreColor;
    bool bold = false;
    CheckState check = CheckState::None;
};

/// The formats of one row's cells up to the last formatted one; none at all in most rows, so
/// that a row without formats pays one pointer for them.
class CellFormats
{
public:
    CellFormats() = default;
    CellFormats(const CellFormats& other)
        : m_formats(other.m_formats ? std::make_unique<std::vector<CellFormat>>(*other.m_formats)
                                    : nullptr)
    {
    }
    CellFormats& operator=(const CellFormats& other)
    {
        if (this != &other) {
            *this = CellFormats(other);
        }
        return *this;
    }
    CellFormats(CellFormats&&) noexcept = default;
    CellFormats& operator=(CellFormats&&) noexcept = default;
    ~CellFormats() = default;

    std::size_t size() const { return m_formats ? m_formats->size() : 0; }
    bool empty() const { return size() == 0; }
    /// Keeps the first `count` formats, adding default ones up to it; none drops them all.
    void resize(std::size_t count);
    CellFormat& operator[](std::size_t i) { return (*m_formats)[i]; }
    const CellFormat& operator[](std::size_t i) const { return (*m_formats)[i]; }
    CellFormat* begin() { return m_formats ? m_formats->data() : nullptr; }
    CellFormat* end() { return begin() + size(); }

private:
    std::unique_ptr<std::vector<CellFormat>> m_formats;
};

/// One row. Cells past the stored ones are empty, so that widening a grid of many rows
/// costs nothing. Kept small: a large grid's table of rows is touched row by row.
struct GridRow
{
    RowTexts cells;
    CellFormats formats;
    platform::runtime::Variant data;
    bool node = false;          // an outline node (subtotal row or marked by code)
    bool selected = false;      // list-box selection
    int subtotalGroup = -1;     // group column of a subtotal row made by Subtotal(), else -1
    int subtotalMatchFrom = -1; // first column of the texts that define its group
    int outlineLevel = 0;
    OutlineState state = OutlineState::Expanded;
    int height = -1; // -1: the default height

    /// A cell's text, valid until the row is written.
    std::string_view Text(int col) const { return cells.Text(col); }
    /// Writes a cell's text; a row that must grow takes room for `width` cells at once (the
    /// grid's column count), so that filling a row left to right reorganises it once.
    void SetText(int col, std::string_view text, int width = 0) { cells.Set(col, text, width); }
    /// What a cell reads as in a column of data type `type` (see RowTexts::Value).
    TypedValue Value(int col, int type, RowTexts::Keep keep = RowTexts::Keep::Yes) const
    {
        return cells.Value(col, type == ColumnType::Date, keep);
    }
    const CellFormat* Format(int col) const;
    CellFormat& FormatFor(int col);
    void SetCols(int cols);
};

/// The rows of a grid: a large grid's table in huge pages.
using GridRows = std::vector<GridRow, LargeTableAllocator<GridRow>>;

struct GridColumn
{
    std::string key;
    std::shared_ptr<platform::runtime::Object> data;
    int width = -1; // -1: the default width
    Alignment alignment = Alignment::General;
    bool hidden = false;
    ColumnSort sort = ColumnSort::None;
    int dataType = ColumnType::Empty;
    std::string comboList;
};

/// Raises the runtime's error 381 (an index outside the grid) with the description.
[[noreturn]] void RaiseBadIndex(const std::string& description);
/// Raises the runtime's error 380 (invalid property value) with the description.
[[noreturn]] void RaiseBadValue(const std::string& description);
/// Raises the runtime's error 445 for something the grid does not do.
[[noreturn]] void RaiseNotSupported(const std::string& description);

inline constexpr int kDefaultRowHeight = 240;
inline constexpr int kDefaultColWidth = 960;
/// The room a cell's check box takes before its text, in twips (headless estimate).
inline constexpr int kCheckBoxWidth = 240;
/// The indent of a node's caption per outline level, in twips (headless estimate).
inline constexpr int kOutlineIndent = 200;

} // namespace platform::forms::detail

namespace platform::forms {

struct FlexGrid::Impl
{
    // The rows' text blocks: declared first, so that it goes after the rows. Storage only,
    // hence writable through a const grid's NewRow.
    mutable detail::TextBlocks blocks;
    detail::GridRows rows;
    std::vector<detail::GridColumn> cols;
    int fixedRows = 1;
    int fixedCols = 1;
    int row = 1, col = 1, rowSel = 1, colSel = 1;
    int topRow = 1;
    int outlineCol = 0;
    double fontSize = 8;
    bool extendLastCol = false;
    std::int64_t hwnd = 0;
    bool focus = false;
    bool redraw = true;
    bool editable = false;
    int comboIndex = -1;
    int clientWidth = 6000, clientHeight = 4000;
    double mouseX = -1, mouseY = -1;
    SelectionMode selectionMode = SelectionMode::Free;
    DropEffect dragAllowed = DropEffect::None; // effects of a drag started from this grid

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    // The rows go with the pool of their texts: they need not give their blocks back.
    ~Impl() { blocks.Close(); }

    // Visibility by outline, computed on demand and dropped when the outline changes.
    mutable std::vector<bool> outlineHidden;
    mutable bool outlineValid = false;

    void Invalidate() { outlineValid = false; }

    // The texts folded for searches that ignore case (TextSearch.h), built as they are
    // searched and dropped by any change of rows, columns or cells; `foldedRefused` says that
    // the texts could not be indexed since the last change.
    mutable std::shared_ptr<detail::FoldedColumns> folded;
    mutable bool foldedRefused = false;
    void DropFolded() const
    {
        folded.reset();
        foldedRefused = false;
    }
    /// The folded texts holding column c (with every shown column, on the first search), or
    /// null when they cannot be indexed.
    const detail::FoldedColumns* FoldedFor(int c) const;

    /// An empty row with room for the grid's cells.
    detail::GridRow NewRow() const;
    /// Drops rows past count or appends empty ones up to it.
    void ResizeRows(size_t count);
    /// Drops the rows past count, the few left moved out of the pool, which starts afresh.
    void DropAlmostAllRows(size_t count);
    static constexpr size_t kFewRows = 16;
    static constexpr size_t kManyRows = 4096;
    /// Raises error 381 when the grid has no row r; checked on every cell read and write.
    void CheckRow(int r) const
    {
        if (r < 0 || r >= RowCount()) [[unlikely]] {
            RaiseNoRow(r);
        }
    }
    /// Raises error 381 when the grid has no column c.
    void CheckCol(int c) const
    {
        if (c < 0 || c >= ColCount()) [[unlikely]] {
            RaiseNoCol(c);
        }
    }
    [[noreturn]] void RaiseNoRow(int r) const;
    [[noreturn]] void RaiseNoCol(int c) const;
    int RowCount() const { return static_cast<int>(rows.size()); }
    int ColCount() const { return static_cast<int>(cols.size()); }
    bool HiddenByOutline(int r) const;
    bool Visible(int r) const;
    int HeightOf(int r) const;
    int WidthOf(int c) const;
    int TextWidth(std::string_view text) const;
    /// The width in twips cell (r, c) needs to show its text whole: as the desktop measures
    /// it (Driver::SetTextMeasure), else estimated.
    int CellWidth(int r, int c) const;
    /// Keeps the current cell and selection inside the grid after a change of shape.
    void ClampCursor();
    /// Puts each new row directly above the row whose index it comes with (in ascending
    /// order; several above one row keep their order), moving every row once.
    void InsertRows(std::vector<std::pair<int, detail::GridRow>> inserts);
};

} // namespace platform::forms
