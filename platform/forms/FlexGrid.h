#pragma once

#include "platform/forms/FlexGridEvents.h"
#include "platform/forms/FlexGridTypes.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::forms {

class FlexGrid;

/// What a change to a grid touched, for a view that mirrors the grid.
enum class GridChange
{
    Redraw,    ///< the redraw switch was set
    Rows,      ///< rows came, went, moved, or were shown or hidden (height, node marks)
    Outline,   ///< rows were shown or hidden by a node collapsed or expanded; no text changed
    Columns,   ///< columns came, went, moved, or changed width, alignment or visibility
    Cells,     ///< texts or formats of cells
    Colours,   ///< only the colours, pictures or check boxes of cells; no text or font changed
    Selection, ///< the current cell or the selection
    Scroll,    ///< the first row shown
    Destroyed, ///< the grid goes: a view lets go of it and reads nothing more from it
};

/// A handle on the outline node of one row. It stays valid while the grid's rows are not
/// added, removed, sorted or subtotalled.
class OutlineNode
{
public:
    /// The node's row.
    int Row() const { return m_row; }
    /// True unless the node is collapsed.
    bool Expanded() const;
    /// Expands (true) or collapses (false) the node; raises the collapse events.
    void SetExpanded(bool expanded);
    /// The node row's outline level.
    int Level() const;
    /// The node that owns this one, or none at the top.
    std::optional<OutlineNode> Parent() const;
    /// Sorts the groups and rows directly under the node by the grid's first column.
    void Sort(SortSetting setting);

private:
    friend class FlexGrid;
    OutlineNode(FlexGrid& grid, int row) : m_grid(&grid), m_row(row) {}
    FlexGrid* m_grid; // non-owning: a node never outlives a change of its grid
    int m_row;
};

/// A headless flexible grid: rows and columns of texts with row and column data, cell
/// formats, an outline of node rows, subtotals, sorting, selection and find.
///
/// Rows and columns are numbered from 0; the first FixedRows() rows are the header (row 0 is
/// the header and row 1 the first data row with one fixed row). Failures raise the runtime's
/// Error: 381 for a row, column or list index outside the grid, 380 for an invalid value,
/// 445 for what the grid does not do.
///
/// Subtotals. Subtotal() groups the data rows (the rows that are not subtotal rows, from
/// the first data row on): a group is a run of consecutive data rows whose texts are equal,
/// letter case ignored, in every column from the match-from column through the group column.
/// Each group gets one subtotal row, which stands directly ABOVE its group's rows, and above
/// the subtotal rows of the groups nested in it, so that a report reads from the grand total
/// down to the details: the grand total (group column 0) comes first. A subtotal row is an
/// outline node whose outline level is its group column; it has no row data; its caption
/// (the caption pattern with "%s" replaced by the group's text in the group column) stands
/// in OutlineCol(). Calling Subtotal() again for the same group column reuses those rows and
/// adds the aggregate of another column. Aggregates skip empty cells and subtotal rows.
///
/// Outline. A node row (a subtotal row, or a row marked by SetIsSubtotal) owns the rows
/// below it up to the next node row of the same or a lower level. A collapsed node hides
/// every row it owns; a node in the Subtotals state hides the data rows it owns and shows the
/// nodes under it.
///
/// Sorting. Sort() orders the selected rows by the selected columns, each compared by its
/// data type (numbers and dates by value, texts without regard to letter case). Once the
/// rows have an outline, rows are reordered only inside their innermost group, and groups
/// move as a whole (with their subtotal rows) when sorted by a column that defines them.
class FlexGrid
{
public:
    FlexGrid();
    ~FlexGrid();
    FlexGrid(const FlexGrid&) = delete;
    FlexGrid& operator=(const FlexGrid&) = delete;

    /// The event handlers; empty handlers are not called.
    FlexGridEvents Events;

    // --- Appearance and window -------------------------------------------------------------
    /// The grid's name on its form ("fg"); empty until the form names it.
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    /// Font size in points (8 by default).
    double FontSize() const;
    void SetFontSize(double points);
    /// The window handle that the forms layer gave the grid (0 until it does).
    std::int64_t Hwnd() const;
    void SetHwnd(std::int64_t handle);
    /// Gives the grid the focus; raises GotFocus when it did not have it.
    void SetFocus();
    /// Takes the focus away; raises LostFocus when it had it.
    void KillFocus();
    bool HasFocus() const;
    /// The redraw switch; the headless grid only remembers it.
    bool Redraw() const;
    void SetRedraw(bool redraw);
    /// The visible area in twips, used for scrolling and for the row under the mouse; the width
    /// counts in the columns' twips (ColWidth), which a window may show wider than the
    /// control's own. Raises ClientResize when the size changes.
    void SetClientSize(int widthTwips, int heightTwips);
    /// The visible area's width in the columns' twips, without the scroll bars: as much as a
    /// column can be wide and show whole.
    int ClientWidth() const;
    int ClientHeight() const;

    // --- Shape ----------------------------------------------------------------------------
    int Rows() const;
    /// Sets the row count: new rows are empty; rows past the count are dropped.
    void SetRows(int rows);
    int Cols() const;
    void SetCols(int cols);
    int FixedRows() const;
    void SetFixedRows(int rows);
    int FixedCols() const;
    void SetFixedCols(int cols);
    /// Inserts a row at index (appends when none); tabs in text separate the cells from
    /// column 0 on. Returns the new row's index.
    int AddItem(const std::string& text, std::optional<int> index = std::nullopt);
    /// Removes the row at index.
    void RemoveItem(int index);
    /// Removes every data row (the fixed rows stay).
    void Clear();

    // --- Current cell, scrolling, mouse ------------------------------------------------------
    int Row() const;
    /// Makes row the current row; the selection becomes that cell. Raises RowColChange.
    void SetRow(int row);
    int Col() const;
    void SetCol(int col);
    int RowSel() const;
    int ColSel() const;
    /// The first scrollable row shown.
    int TopRow() const;
    void SetTopRow(int row);
    /// Scrolls so that the cell shows.
    void ShowCell(int row, int col);
    /// The row and column under the mouse (-1 when none), from the last mouse position.
    int MouseRow() const;
    int MouseCol() const;
    /// The current cell's position inside the grid and its size, in twips.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    // --- Columns ------------------------------------------------------------------------------
    std::string ColKey(int col) const;
    void SetColKey(int col, const std::string& key);
    /// The column whose key is key (exact), or -1.
    int ColIndex(const std::string& key) const;
    std::shared_ptr<platform::runtime::Object> ColData(int col) const;
    void SetColData(int col, std::shared_ptr<platform::runtime::Object> data);
    /// Width in twips; -1 sizes the column to its contents.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    /// Whether the last visible column reaches to the grid's right edge (a list's one column
    /// filling its width); off by default. The column's own width then is its least.
    bool ExtendLastCol() const;
    void SetExtendLastCol(bool extend);
    /// Sizes the columns col1 to col2 (col1 alone when col2 is left out) to their texts.
    void AutoSize(int col1, std::optional<int> col2 = std::nullopt);
    Alignment ColAlignment(int col) const;
    void SetColAlignment(int col, Alignment alignment);
    bool ColHidden(int col) const;
    void SetColHidden(int col, bool hidden);
    ColumnSort ColSort(int col) const;
    void SetColSort(int col, ColumnSort sort);
    /// The column's data type as a variant type code (see ColumnType).
    int ColDataType(int col) const;
    void SetColDataType(int col, int type);
    /// The drop-down list of a column's editor, entries separated by "|"; empty for a text box.
    std::string ColComboList(int col) const;
    void SetColComboList(int col, const std::string& list);
    /// Moves a column to position, with its cells and settings.
    void MoveColumn(int col, int position);

    // --- Rows -------------------------------------------------------------------------------
    /// The value a row carries beside its texts (a report row's record key, a tree row's
    /// item); Empty until set, and for subtotal rows.
    const platform::runtime::Variant& RowData(int row) const;
    void SetRowData(int row, platform::runtime::Variant data);
    /// Height in twips; 0 hides the row; -1 restores the default height. Row -1 (no row)
    /// reads as the default height.
    int RowHeight(int row) const;
    void SetRowHeight(int row, int twips);
    /// True when the row is shown: not 0 high and not hidden by a collapsed outline node.
    bool RowIsVisible(int row) const;
    /// True for subtotal rows and for rows marked as outline nodes.
    bool IsSubtotal(int row) const;
    void SetIsSubtotal(int row, bool node);
    int RowOutlineLevel(int row) const;
    void SetRowOutlineLevel(int row, int level);
    /// The node state of a node row (Expanded for other rows).
    OutlineState IsCollapsed(int row) const;
    /// Sets the node state of a node row; raises BeforeCollapse (which may cancel) and
    /// AfterCollapse when it changes.
    void SetIsCollapsed(int row, OutlineState state);
    /// The node of the row: the row itself when it is a node row, else the node that owns it.
    std::optional<OutlineNode> GetNode(int row);

    // --- Cells --------------------------------------------------------------------------------
    std::string TextMatrix(int row, int col) const;
    /// Asks the processor to fetch a row's texts ahead of reading them; nothing for a row the
    /// grid does not have. A walk over the rows of a large sorted grid otherwise waits on
    /// memory at nearly every row.
    void PrefetchRow(int row) const;
    void SetTextMatrix(int row, int col, const std::string& text);
    /// The number in a cell: the exact value of a computed aggregate, else the cell's text
    /// read as a number (0 when it is none).
    double ValueMatrix(int row, int col) const;
    /// The texts of a range, cells joined by tabs and rows by CR.
    std::string Clip(const CellRange& range) const;
    /// Writes tab/CR-joined texts into a range from its top-left cell; cells outside the range
    /// are not touched.
    void SetClip(const CellRange& range, const std::string& text);
    /// The texts of a range, one list per row.
    std::vector<std::vector<std::string>> RangeTexts(const CellRange& range) const;
    void SetRangeTexts(const CellRange& range, const std::vector<std::vector<std::string>>& texts);
    /// A property of a range by setting: Text gives the range's texts joined as Clip() joins
    /// them; the other settings give the value of the range's first cell (Empty for a colour
    /// never set, Nothing for no picture).
    platform::runtime::Variant Cell(CellSetting setting, const CellRange& range) const;
    /// Writes a property on a range. Text: a 2-D array (or a list, one element per row), or a
    /// text holding tabs or CRs, is spread over the range from its top-left cell as SetClip
    /// does; any other text goes into every cell. The other settings go into every cell.
    /// A value of the wrong type raises 13.
    void SetCell(CellSetting setting, const CellRange& range,
                 const platform::runtime::Variant& value);
    /// Cell formats, written on every cell of a range and read from one cell.
    Alignment CellAlignment(int row, int col) const;
    void SetCellAlignment(const CellRange& range, Alignment alignment);
    std::shared_ptr<platform::runtime::Object> CellPicture(int row, int col) const;
    void SetCellPicture(const CellRange& range, std::shared_ptr<platform::runtime::Object> picture);
    int CellPictureAlignment(int row, int col) const;
    void SetCellPictureAlignment(const CellRange& range, int alignment);
    /// Colours as 0xBBGGRR; none means the grid's default.
    std::optional<std::uint32_t> CellBackColor(int row, int col) const;
    void SetCellBackColor(const CellRange& range, std::uint32_t colour);
    std::optional<std::uint32_t> CellForeColor(int row, int col) const;
    void SetCellForeColor(const CellRange& range, std::uint32_t colour);
    bool CellFontBold(int row, int col) const;
    void SetCellFontBold(const CellRange& range, bool bold);
    CheckState CellChecked(int row, int col) const;
    void SetCellChecked(const CellRange& range, CheckState state);

    // --- Selection -------------------------------------------------------------------------
    SelectionMode GetSelectionMode() const;
    void SetSelectionMode(SelectionMode mode);
    /// Selects a range: the current cell becomes (row1, col1). Raises RowColChange and
    /// AfterSelChange as things change.
    void Select(int row1, int col1, std::optional<int> row2 = std::nullopt,
                std::optional<int> col2 = std::nullopt);
    /// The selected range, rows and columns in order.
    CellRange GetSelection() const;
    bool IsSelected(int row) const;
    /// Marks a row selected or not; in other modes than ListBox it raises "not supported".
    void SetIsSelected(int row, bool selected);
    int SelectedRows() const;
    /// The i-th selected row (from 0), top to bottom.
    int SelectedRow(int index) const;

    // --- Outline, subtotals, sorting, find ---------------------------------------------------
    /// The column that holds the outline tree and the subtotal captions (0 by default).
    int OutlineCol() const;
    void SetOutlineCol(int col);
    /// Adds the subtotal rows of a group column (see the class comment). caption defaults to
    /// "%s". Function Clear removes all subtotal rows and ignores the other arguments.
    void Subtotal(SubtotalFunction function, int groupOn = 0,
                  std::optional<int> totalOn = std::nullopt,
                  std::optional<std::string> caption = std::nullopt, int matchFrom = 0);
    /// Runs several subtotal operations as one, in order: the rows, texts and values come out
    /// as from calling Subtotal() with each request in turn, but the rows are read once. Every
    /// request is checked first: a bad one raises as Subtotal() would and nothing changes.
    void Subtotals(const std::vector<SubtotalRequest>& requests);
    /// Removes every subtotal row: every data-area row that IsSubtotal() reports, the node rows
    /// marked by code included.
    void ClearSubtotals();
    /// Sorts the rows of the selection (every data row when one row is selected) by the
    /// selected columns, left to right.
    void Sort(SortSetting setting);
    /// Sorts every data row by the keys in turn, the first deciding first, each column
    /// compared as Sort() compares it; rows that tie on every key keep their order. With
    /// subtotal requests, the first groupKeys keys are the columns the requests group on: the
    /// rows, texts and values come out as from sorting by those keys, running
    /// Subtotals(requests), then sorting by the other keys inside the groups, with each column
    /// read once. Every key and request is checked first (Clear is none): a bad one raises and
    /// nothing changes. Once the rows have an outline, they move as Sort() moves them.
    void SortBy(const std::vector<SortKey>& keys, int groupKeys = 0,
                const std::vector<SubtotalRequest>& requests = {});
    /// The first row at or after startRow (the first data row when none) whose cell in col
    /// holds text: the whole text when wholeCell, else anywhere in it. -1 when none.
    int FindRow(const std::string& text, std::optional<int> startRow, int col,
                bool caseSensitive = false, bool wholeCell = false) const;

    // --- Editing, user actions (the headless stand-in for mouse and keyboard) ---------------
    /// Whether the user may edit cells.
    bool Editable() const;
    void SetEditable(bool editable);
    /// The index of the entry picked in the last drop-down edit (-1 when none).
    int ComboIndex() const;
    /// Moves the mouse to (x, y) twips inside the grid; raises MouseMove.
    void UserMouseMove(int button, int shift, double x, double y);
    /// Presses a mouse button at (x, y): MouseDown, then a click on the cell there (current
    /// cell, selection by mode and shift state) and Click.
    void UserMouseDown(int button, int shift, double x, double y);
    void UserMouseUp(int button, int shift, double x, double y);
    /// A double click at the last mouse position.
    void UserDoubleClick();
    void UserKeyDown(int keyCode, int shift);
    void UserKeyUp(int keyCode, int shift);
    /// The user clicks a row (and column): current cell and selection as the mode says.
    void UserClick(int row, int col, int shift = 0);
    /// The user edits a cell's text: BeforeEdit (may cancel), the new text, AfterEdit.
    /// Returns false when the edit was refused; a cell with a check box is never edited as
    /// text (it toggles, see UserToggleCheck).
    bool UserEdit(int row, int col, const std::string& text);
    /// The user picks entry index of the column's drop-down list.
    bool UserPickComboItem(int row, int col, int index);
    /// The user clicks a cell's check box: BeforeEdit (may cancel), the box flips between its
    /// two states (an empty cell gets a ticked box), AfterEdit. False when refused.
    bool UserToggleCheck(int row, int col);
    /// The user toggles a node row between collapsed and expanded.
    void UserToggleNode(int row);
    /// The user drags a column to position: ColumnMoving (may change the position), then the move.
    /// False when the column stays where it was (the handler refused the move, or kept its place).
    bool UserMoveColumn(int col, int position);
    /// The user resizes a column: ColumnResizing (may cancel), then ColumnResized.
    bool UserResizeColumn(int col, int twips);
    /// Starts a manual drag from this grid: raises OLEStartDrag.
    void OLEDrag();
    /// A drag from source is over this grid at (x, y): moves the mouse there and raises
    /// OLEDragOver. Returns the effect the handler chose.
    DropEffect UserDragOver(FlexGrid* source, int button, int shift, double x, double y);
    /// A drag from source is dropped on this grid at (x, y): raises OLEDragDrop.
    DropEffect UserDrop(FlexGrid* source, int button, int shift, double x, double y);

    // --- Views ---------------------------------------------------------------------------------
    /// Who mirrors the grid on a screen: called after every public call that changed what
    /// shows, by code or by the user, with what it touched. While Redraw is off it is called
    /// once for each kind of change, the first time (a view waits for Redraw to come back on,
    /// and a fill writes every cell of a large grid meanwhile); setting Redraw is told every
    /// time. One observer; an empty one stops it. The observer must not throw.
    using ChangeObserver = std::function<void(GridChange)>;
    void SetObserver(ChangeObserver observer)
    {
        m_observer = std::move(observer);
        m_toldWhileOff = 0;
    }

    /// The private state; defined in detail/. Public only so that the detail procedures
    /// that make up the grid can name it.
    struct Impl;

private:
    friend class OutlineNode;

    // Tells the observer about a change when the public call that made it returns, by
    // whichever way it returns.
    class NotifyOnExit
    {
    public:
        NotifyOnExit(const FlexGrid& grid, GridChange change) : m_grid(grid), m_change(change) {}
        ~NotifyOnExit() { m_grid.Notify(m_change); }
        NotifyOnExit(const NotifyOnExit&) = delete;
        NotifyOnExit& operator=(const NotifyOnExit&) = delete;

    private:
        const FlexGrid& m_grid;
        GridChange m_change;
    };

    // Also drops what the grid derived from its texts for searches.
    void Notify(GridChange change) const;

    std::unique_ptr<Impl> m_impl;
    ChangeObserver m_observer;
    // The kinds of change (a bit each) told since Redraw went off.
    mutable std::uint32_t m_toldWhileOff = 0;
    std::string m_name;
};

} // namespace platform::forms
