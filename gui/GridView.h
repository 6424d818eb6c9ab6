#pragma once

#include "gui/ColumnFit.h"

#include <QTableView>

#include <functional>
#include <memory>
#include <vector>

class QMimeData;

namespace platform::forms {
class FlexGrid;
}

namespace gui {

class FrozenRows;
class GridModel;

/// A table view of a headless flexible grid: fixed header row, the other fixed rows frozen
/// below it while the rest scrolls, column widths, alignment,
/// colours, pictures and bold cells from the grid, hidden columns, the outline with a box to
/// expand and collapse each node, check boxes, the grid's own selection, in-place editing
/// (a drop-down list where the column has one) and drag and drop between grids.
///
/// The person's gestures reach the grid as the driver's calls do: a press is UserMouseDown at
/// the cell's place in the grid's own twips (the grid then sets its current cell, selection
/// and raises Click), a box click UserToggleNode or UserToggleCheck, a double click
/// UserDoubleClick, keys UserKeyDown/UserKeyUp, a column drag UserMoveColumn, a column resize
/// UserResizeColumn, a scroll SetTopRow. The view itself never selects or moves anything: it
/// shows what the grid made of the gesture.
class GridView : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(platform::forms::FlexGrid& grid, QWidget* parent = nullptr);
    ~GridView() override;

    platform::forms::FlexGrid& Grid() const;
    GridModel& Model() const { return *m_model; }
    /// The rectangle of the outline box of a node row's cell, in viewport pixels (empty
    /// when the cell has none).
    QRect NodeBoxRect(const QModelIndex& index) const;
    /// The rectangle of a cell's check box, in viewport pixels (empty when the cell has none).
    QRect CheckBoxRect(const QModelIndex& index) const;
    /// The place (x, y) in the grid's twips of a point inside a cell, as the grid counts
    /// from its top row.
    QPointF GridPoint(const QModelIndex& index, const QPoint& viewportPos) const;
    /// Draws with the grid's font size (the size its columns were measured in, see
    /// TextMeasure.h), in the widget's font family.
    void PullFont();
    /// Tells the grid the viewport's size (FlexGrid::SetClientSize).
    void PushClientSize();
    /// The height in pixels of the band of fixed rows at the top of the viewport (0 without).
    int FrozenHeight() const;

    /// Runs the person's drag of what the data names, from the press to the drop.
    using DragRunner = std::function<void(std::unique_ptr<QMimeData> data)>;
    /// Who runs a drag that the add-in starts from this grid (OLEDrag in its MouseMove): Qt's
    /// drag loop unless set; null sets it back. A test takes the data here, to drop it by
    /// hand where Qt's loop sees no pointer moving.
    void SetDragRunner(DragRunner runner);

    /// Inside the band of fixed rows: the fixed row there, whatever scrolled under it.
    QModelIndex indexAt(const QPoint& point) const override;
    /// A fixed row's cell is where the band shows it.
    QRect visualRect(const QModelIndex& index) const override;
    /// Brings a cell into sight below the band of fixed rows.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void updateGeometries() override;
    /// Tab out of a cell's editor ends the edit and moves the focus on through the window,
    /// as Tab from the grid does, rather than into the next cell's editor.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    /// Whether a drop-down cell's list shows its entries as its editor opens.
    enum class Choices
    {
        Closed,
        Shown,
    };
    void PlaceFrozen();
    /// Whether the cell can be edited through its column's drop-down list.
    bool IsListCell(const QModelIndex& index) const;
    /// Opens the cell's editor, where it can be edited; a drop-down list shows its entries
    /// when asked, and an entry picked from it ends the edit.
    void EditCell(const QModelIndex& index, QEvent* event, Choices choices);
    /// Brings the grid's current cell into sight after a key moved it.
    void ShowCurrentCell();
    /// Whether a press at that place hits the cell's check box (which can be toggled).
    bool OnCheckBox(const QModelIndex& index, const QPoint& viewportPos) const;
    void PullColumns();
    /// Measures the least widths of the columns again once the current changes are in.
    void QueueWholeWidths();
    void PullSelection();
    void PullScroll();
    void PushTopRow();
    void RunDrag(std::unique_ptr<QMimeData> data);
    QPointF DropPoint(const QPoint& viewportPos) const;
    void OnSectionResized(int col, int oldSize, int newSize);
    void OnSectionMoved(int col, int from, int to);
    void OnHeaderPressed(int col);

    GridModel* m_model;
    FrozenRows* m_frozen = nullptr; // made when the grid first has fixed rows below its header
    bool m_pulling = false;
    bool m_built = false;           // the constructor has set the view up
    double m_widthScale = 1;        // how much wider than the grid's twips its columns show (font)
    std::vector<int> m_wholeWidths; // the least pixels of each column (see WholeWidths)
    std::vector<CaptionNeed> m_captionNeeds; // what the group captions need (see CaptionNeeds)
    bool m_wholeQueued = false;              // the texts changed: m_wholeWidths is measured again
    QPoint m_pressPos;
    QPersistentModelIndex m_pressIndex; // the cell of the press, while the button is down
    bool m_pressed = false;
    bool m_dragStarted = false; // the add-in started a drag during this press
    DragRunner m_dragRunner;
};

} // namespace gui
