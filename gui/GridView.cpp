#include "gui/GridView.h"

#include "gui/ColumnFit.h"
#include "gui/DesktopWindows.h"
#include "gui/FormView.h"
#include "gui/FrozenRows.h"
#include "gui/GridDelegate.h"
#include "gui/GridDrag.h"
#include "gui/GridModel.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"
#include "platform/win/Desktop.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDrag>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace gui {

namespace pf = platform::forms;

namespace {

int ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 1;
    }
}

int ButtonsOf(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

// Ends a drop-down cell's edit when the person picks an entry from the open list (a click or
// Enter there), as a grid's drop-down cell takes it. The arrow keys that step through the
// entries of the closed box activate them too; those leave the edit open, to be ended by
// Enter or cancelled by Escape. A child of the box: it goes with the editor.
class ListPick : public QObject
{
public:
    ListPick(QComboBox& list, std::function<void()> picked)
        : QObject(&list), m_list(list), m_picked(std::move(picked))
    {
        // The open list's window hides just before the box says which entry was picked.
        list.view()->window()->installEventFilter(this);
        connect(&list, &QComboBox::activated, this, [this] {
            if (m_closing || m_list.view()->isVisible())
                m_picked();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == m_list.view()->window()) {
            m_closing = true;
            QTimer::singleShot(0, this, [this] { m_closing = false; });
        }
        return false;
    }

private:
    QComboBox& m_list;
    std::function<void()> m_picked;
    bool m_closing = false; // the list has just closed
};

bool IsEnter(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// Whether the window presses a default button on Enter, wherever the focus is: a form's window
// with a button that the form marks as its default (the key stays the window's while the button
// is disabled), another dialog with a default button.
bool TakesEnter(const QWidget& window)
{
    if (const auto* form = qobject_cast<const FormView*>(&window))
        return form->HasDefaultButton();
    if (!qobject_cast<const QDialog*>(&window))
        return false;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        if (button->isDefault() && button->isVisible())
            return true;
    return false;
}

// The keys that open a drop-down cell's list, as they open a combo box's.
bool OpensList(const QKeyEvent& event)
{
    return event.key() == Qt::Key_F2 || event.key() == Qt::Key_F4 ||
           ((event.key() == Qt::Key_Down || event.key() == Qt::Key_Up) &&
            event.modifiers() == Qt::AltModifier);
}

} // namespace

GridView::GridView(pf::FlexGrid& grid, QWidget* parent)
    : QTableView(parent), m_model(new GridModel(grid, this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(*this));
    // The grid keeps the selection: the view only shows it.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Shift+Tab move the focus on through the window, as from any other control.
    setTabKeyNavigation(false);
    setWordWrap(false);
    // The cells draw their own grid lines: a group caption runs on over blank cells without
    // the lines between them.
    setShowGrid(false);
    setAcceptDrops(true);
    setMouseTracking(true);
    verticalHeader()->hide();
    // Fixed row heights: the view then works out which rows show without asking each row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setVisible(grid.FixedRows() > 0);

    connect(m_model, &GridModel::ColumnsChanged, this, &GridView::PullColumns);
    connect(m_model, &GridModel::SelectionChanged, this, &GridView::PullSelection);
    connect(m_model, &GridModel::ScrollChanged, this, &GridView::PullScroll);
    // A grid that goes takes no more input: the view hides and waits for its window to go.
    connect(m_model, &GridModel::GridGone, this, [this] {
        setEnabled(false);
        hide();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (!m_model->ChangeKeepsTexts())
            QueueWholeWidths();
        PullColumns();
        PullSelection();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] {
        if (!m_model->ChangeKeepsTexts())
            QueueWholeWidths();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &GridView::OnSectionResized);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &GridView::OnSectionMoved);
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, &GridView::OnHeaderPressed);
    SetDragRunner({});
    PullFont();
    m_built = true;
    PullColumns();
    PullSelection();
}

GridView::~GridView() = default;

pf::FlexGrid& GridView::Grid() const
{
    return m_model->Grid();
}

QRect GridView::NodeBoxRect(const QModelIndex& index) const
{
    const int node = index.data(GridModel::NodeRole).toInt();
    if (!index.isValid() || index.column() != Grid().OutlineCol() || node < 0 ||
        node == GridModel::kLeafNode)
        return {};
    return GridDelegate::BoxRect(visualRect(index),
                                 std::max(index.data(GridModel::OutlineLevelRole).toInt(), 0));
}

QRect GridView::CheckBoxRect(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return static_cast<const GridDelegate*>(itemDelegate())->CheckRect(option, index);
}

QPointF GridView::GridPoint(const QModelIndex& index, const QPoint& viewportPos) const
{
    const auto& grid = Grid();
    const QRect cell = visualRect(index);
    double x = 0;
    for (int c = 0; c < index.column(); ++c)
        x += grid.ColHidden(c) ? 0 : grid.ColWidth(c);
    x += std::clamp(double(Twips(viewportPos.x() - cell.left(), m_widthScale)), 0.0,
                    double(grid.ColWidth(index.column()) - 1));
    // The grid counts its fixed rows first, then the rows shown from its top row on.
    const int row = m_model->GridRow(index.row());
    const int fixed = std::min(grid.FixedRows(), grid.Rows());
    double y = 0;
    for (int r = 0; r < fixed && r < row; ++r)
        y += grid.RowIsVisible(r) ? grid.RowHeight(r) : 0;
    if (row >= fixed) {
        const int top = m_model->ModelRow(grid.TopRow());
        for (int m = std::max(top, 0); m < index.row(); ++m)
            y += grid.RowHeight(m_model->GridRow(m));
    }
    y += grid.RowHeight(row) / 2.0;
    return {x, y};
}

int GridView::FrozenHeight() const
{
    int height = 0;
    for (int m = 0, frozen = m_model->FrozenRows(); m < frozen; ++m)
        height += rowHeight(m);
    return height;
}

QModelIndex GridView::indexAt(const QPoint& point) const
{
    const int frozen = m_model->FrozenRows();
    if (frozen == 0 || point.y() < 0 || point.y() >= FrozenHeight())
        return QTableView::indexAt(point);
    const int col = columnAt(point.x());
    int top = 0;
    for (int m = 0; m < frozen; ++m) {
        top += rowHeight(m);
        if (point.y() < top)
            return col >= 0 ? m_model->index(m, col) : QModelIndex();
    }
    return {};
}

QRect GridView::visualRect(const QModelIndex& index) const
{
    const QRect rect = QTableView::visualRect(index);
    if (!index.isValid() || index.row() >= m_model->FrozenRows())
        return rect;
    // The band does not scroll: the row stands where it would with the view at the top.
    return rect.translated(0, verticalOffset());
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int frozen = m_model->FrozenRows();
    const int before = verticalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (!index.isValid() || frozen == 0)
        return;
    if (index.row() < frozen)
        verticalScrollBar()->setValue(before); // always in sight: only a sideways scroll
    else if (index.row() - frozen < verticalScrollBar()->value())
        verticalScrollBar()->setValue(index.row() - frozen);
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    PlaceFrozen();
}

void GridView::PlaceFrozen()
{
    // Qt lays the view out while it is being set up, before the band can share its parts.
    if (!m_built)
        return;
    const int height = FrozenHeight();
    if (!m_frozen && height == 0)
        return;
    if (!m_frozen)
        m_frozen = new FrozenRows(*this);
    m_frozen->Follow(height);
}

void GridView::PushTopRow()
{
    if (!m_model->HasGrid())
        return;
    // The first row below the band of fixed rows is the grid's top row.
    const int first = m_model->GridRow(rowAt(FrozenHeight()));
    if (first < 0 || first == Grid().TopRow())
        return;
    m_pulling = true;
    CallModel([&] { Grid().SetTopRow(first); });
    m_pulling = false;
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    setFocus(Qt::MouseFocusReason);
    const int row = m_model->GridRow(index.row());
    auto& grid = Grid();
    // The node box may stand beyond a narrow outline column.
    const QModelIndex node = index.sibling(index.row(), grid.OutlineCol());
    if (event->button() == Qt::LeftButton &&
        NodeBoxRect(node).contains(event->position().toPoint())) {
        CallModel([&] { grid.UserToggleNode(row); });
        return;
    }
    if (event->button() == Qt::LeftButton && OnCheckBox(index, event->position().toPoint())) {
        // The press makes the cell current, as on any cell, and the box changes.
        PushTopRow();
        const QPointF at = GridPoint(index, event->position().toPoint());
        CallModel([&] {
            grid.UserMouseDown(1, ShiftState(event->modifiers()), at.x(), at.y());
            grid.UserToggleCheck(row, index.column());
        });
        return;
    }
    PushTopRow();
    const QPointF at = GridPoint(index, event->position().toPoint());
    m_pressed = event->button() == Qt::LeftButton;
    m_pressPos = event->position().toPoint();
    m_pressIndex = index;
    CallModel([&] {
        grid.UserMouseDown(ButtonOf(event->button()), ShiftState(event->modifiers()), at.x(),
                           at.y());
    });
}

bool GridView::OnCheckBox(const QModelIndex& index, const QPoint& viewportPos) const
{
    // A little room around the box, as a person aims at it.
    return (m_model->flags(index) & Qt::ItemIsUserCheckable) &&
           CheckBoxRect(index).adjusted(-2, -2, 2, 2).contains(viewportPos);
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    // A click on a drop-down cell opens its list: pressed and released on the cell, no drag.
    const bool clicked = m_pressed && !m_dragStarted && event->button() == Qt::LeftButton;
    const QPersistentModelIndex pressed = m_pressIndex;
    m_pressed = false;
    m_dragStarted = false;
    m_pressIndex = QPersistentModelIndex();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    const QPointF at = GridPoint(index, event->position().toPoint());
    // A menu the release opens (a right click) shows where the pointer is on the screen.
    const QPoint screen = event->globalPosition().toPoint();
    platform::win::Desktop::current().setCursorPosition(
        platform::win::ScreenPoint{screen.x(), screen.y()});
    CallModel([&] {
        Grid().UserMouseUp(ButtonOf(event->button()), ShiftState(event->modifiers()), at.x(),
                           at.y());
    });
    if (clicked && pressed == index && event->modifiers() == Qt::NoModifier && IsListCell(index))
        EditCell(index, nullptr, Choices::Shown);
}

void GridView::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    const QPointF at = GridPoint(index, event->position().toPoint());
    auto& grid = Grid();
    // The add-in starts a drag from its MouseMove handler (OLEDrag); the person's drag then
    // takes over once the pointer has gone far enough for a drag rather than a click.
    CallModel([&] {
        if (StartsDrag(grid, [&] {
                grid.UserMouseMove(ButtonsOf(event->buttons()), ShiftState(event->modifiers()),
                                   at.x(), at.y());
            }))
            m_dragStarted = m_pressed;
    });
    if (m_dragStarted && m_pressed &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >=
            QApplication::startDragDistance()) {
        m_pressed = false;
        m_dragStarted = false;
        m_dragRunner(std::make_unique<GridDragData>(*this));
    }
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || NodeBoxRect(index.sibling(index.row(), Grid().OutlineCol()))
                                .contains(event->position().toPoint()))
        return;
    // A quick second click on a check box changes it back, as the first one did.
    if (event->button() == Qt::LeftButton && OnCheckBox(index, event->position().toPoint())) {
        const int row = m_model->GridRow(index.row());
        CallModel([&] { Grid().UserToggleCheck(row, index.column()); });
        return;
    }
    CallModel([&] { Grid().UserDoubleClick(); });
    EditCell(index, event, Choices::Closed);
}

bool GridView::IsListCell(const QModelIndex& index) const
{
    return m_model->HasGrid() && (m_model->flags(index) & Qt::ItemIsEditable) &&
           !Grid().ColComboList(index.column()).empty();
}

void GridView::EditCell(const QModelIndex& index, QEvent* event, Choices choices)
{
    if (!(m_model->flags(index) & Qt::ItemIsEditable) ||
        !edit(index, QAbstractItemView::AllEditTriggers, event))
        return;
    auto* list = qobject_cast<QComboBox*>(indexWidget(index));
    if (!list)
        return;
    new ListPick(*list, [this, list] {
        commitData(list);
        closeEditor(list, QAbstractItemDelegate::NoHint);
    });
    if (choices == Choices::Shown)
        list->showPopup();
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    // A cell being edited: its editor has had Enter (which ends the edit) and Escape (which
    // cancels it); they go no further, not to the grid nor to the window's buttons.
    if (state() == QAbstractItemView::EditingState &&
        (IsEnter(*event) || event->key() == Qt::Key_Escape)) {
        event->accept();
        return;
    }
    // Enter is the window's where it presses a default button, and Tab moves the focus on, as
    // from any other control; a window without a default button leaves Enter to the grid (the
    // report opens the current item on it).
    if ((IsEnter(*event) && TakesEnter(*window())) || event->key() == Qt::Key_Tab ||
        event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    const int keyCode = KeyCode(event->key(), event->modifiers());
    if (keyCode == 0) {
        QTableView::keyPressEvent(event);
        return;
    }
    if (!m_model->HasGrid())
        return;
    // F2, F4 and Alt+Down open a drop-down cell's list: the key is the cell's, as a combo
    // box's, and moves nothing.
    if (OpensList(*event) && IsListCell(currentIndex())) {
        EditCell(currentIndex(), nullptr, Choices::Shown);
        return;
    }
    auto& grid = Grid();
    const int rowBefore = grid.Row(), colBefore = grid.Col();
    CallModel([&] { grid.UserKeyDown(keyCode, ShiftState(event->modifiers())); });
    if (m_model->HasGrid() && (grid.Row() != rowBefore || grid.Col() != colBefore))
        ShowCurrentCell();
    // F2 edits the current cell in place.
    if (event->key() == Qt::Key_F2)
        EditCell(currentIndex(), nullptr, Choices::Closed);
    // Space toggles the current cell's check box, as a click on the box does.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        m_model->HasGrid()) {
        const int row = grid.Row(), col = grid.Col();
        const QModelIndex current = m_model->index(m_model->ModelRow(row), col);
        if (current.isValid() && (m_model->flags(current) & Qt::ItemIsUserCheckable))
            CallModel([&] { grid.UserToggleCheck(row, col); });
    }
    // Escape and F1 go on to the window: Escape closes a dialog wherever the focus is, and a
    // form that previews keys sees F1 (its help) from its grids as from its other controls.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F1)
        event->ignore();
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, next || previous ? QAbstractItemDelegate::NoHint : hint);
    if (next || previous)
        focusNextPrevChild(next);
}

void GridView::ShowCurrentCell()
{
    // The grid scrolled its rows to the cell; the columns scroll here, and the rows again
    // where the view's rows stand higher than the grid counts them.
    const auto& grid = Grid();
    const QModelIndex current = m_model->index(m_model->ModelRow(grid.Row()), grid.Col());
    if (current.isValid())
        scrollTo(current);
}

void GridView::keyReleaseEvent(QKeyEvent* event)
{
    if (const int keyCode = KeyCode(event->key(), event->modifiers()))
        CallModel([&] { Grid().UserKeyUp(keyCode, ShiftState(event->modifiers())); });
}

void GridView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    if (!m_model->HasGrid())
        return;
    CallModel([&] { Grid().SetFocus(); });
}

void GridView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    if (!m_model->HasGrid())
        return;
    CallModel([&] { Grid().KillFocus(); });
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PushClientSize();
}

void GridView::PushClientSize()
{
    if (!m_model->HasGrid())
        return;
    // The width in the columns' twips, which show m_widthScale times wider: a column of that
    // width ends at the visible edge (a scroll bar that comes or goes resizes the viewport).
    const int header = horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0;
    CallModel([&] {
        Grid().SetClientSize(Twips(viewport()->width(), m_widthScale),
                             Twips(viewport()->height() + header));
    });
}

void GridView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dy != 0 && !m_pulling)
        PushTopRow();
}

void GridView::PullFont()
{
    if (!m_model->HasGrid())
        return;
    QFont font = this->font();
    if (font.pointSizeF() != Grid().FontSize()) {
        font.setPointSizeF(Grid().FontSize());
        setFont(font);
    }
    const double scale = GridWidthScale(this->font());
    const bool rescaled = scale != m_widthScale;
    m_widthScale = scale;
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // The same pixels are another width in the columns' twips.
    if (rescaled && m_built)
        PushClientSize();
}

void GridView::PullColumns()
{
    if (!m_model->HasGrid())
        return;
    m_pulling = true;
    PullFont();
    const auto& grid = Grid();
    horizontalHeader()->setVisible(grid.FixedRows() > 0);
    horizontalHeader()->setStretchLastSection(grid.ExtendLastCol());
    // The grid's widths as set, but never so narrow that a figure or a choice is cut, nor
    // the outline column so narrow that a group caption with a filled cell beside it is: the
    // grid keeps its widths (a template's stored ones among them) for the add-in to read.
    if (m_wholeWidths.size() != size_t(grid.Cols())) {
        m_wholeWidths = WholeWidths(grid, *this);
        m_captionNeeds = CaptionNeeds(grid, *this);
    }
    const int cols = std::min(m_model->columnCount(), grid.Cols());
    std::vector<int> widths(size_t(std::max(cols, 0)), 0);
    for (int c = 0; c < cols; ++c)
        widths[size_t(c)] =
            std::max(Pixels(grid.ColWidth(c), m_widthScale), m_wholeWidths[size_t(c)]);
    if (const int outline = grid.OutlineCol(); outline >= 0 && outline < cols)
        widths[size_t(outline)] =
            std::max(widths[size_t(outline)], OutlineWidth(grid, m_captionNeeds, widths));
    for (int c = 0; c < cols; ++c) {
        setColumnHidden(c, grid.ColHidden(c));
        if (!grid.ColHidden(c))
            setColumnWidth(c, widths[size_t(c)]);
    }
    PlaceFrozen();
    m_pulling = false;
}

void GridView::QueueWholeWidths()
{
    // Measured once the add-in's changes of one turn are in: a sort or a fill changes the
    // rows and their cells in one go.
    if (m_wholeQueued)
        return;
    m_wholeQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_wholeQueued = false;
        if (!m_model->HasGrid())
            return;
        std::vector<int> widths = WholeWidths(Grid(), *this);
        std::vector<CaptionNeed> captions = CaptionNeeds(Grid(), *this);
        if (widths == m_wholeWidths && captions == m_captionNeeds)
            return;
        m_wholeWidths = std::move(widths);
        m_captionNeeds = std::move(captions);
        PullColumns();
    });
}

void GridView::PullSelection()
{
    if (!m_model->HasGrid())
        return;
    const auto& grid = Grid();
    const int rows = m_model->rowCount(), cols = m_model->columnCount();
    if (rows == 0 || cols == 0 || grid.Rows() == 0) {
        selectionModel()->clearSelection();
        return;
    }
    QItemSelection selection;
    if (grid.GetSelectionMode() == pf::SelectionMode::ListBox) {
        for (int m = 0; m < rows; ++m)
            if (grid.IsSelected(m_model->GridRow(m)))
                selection.select(m_model->index(m, 0), m_model->index(m, cols - 1));
    } else {
        const pf::CellRange range = grid.GetSelection();
        int first = -1, last = -1;
        for (int r = std::min(range.row1, range.row2); r <= std::max(range.row1, range.row2); ++r)
            if (const int m = m_model->ModelRow(r); m >= 0) {
                first = first < 0 ? m : first;
                last = m;
            }
        if (first >= 0)
            selection.select(
                m_model->index(first, std::clamp(std::min(range.col1, range.col2), 0, cols - 1)),
                m_model->index(last, std::clamp(std::max(range.col1, range.col2), 0, cols - 1)));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const int current = m_model->ModelRow(grid.Row());
    if (current >= 0 && grid.Col() >= 0 && grid.Col() < cols)
        selectionModel()->setCurrentIndex(m_model->index(current, grid.Col()),
                                          QItemSelectionModel::NoUpdate);
}

void GridView::PullScroll()
{
    if (!m_model->HasGrid())
        return;
    if (m_pulling)
        return;
    const int top = m_model->ModelRow(Grid().TopRow());
    if (top < 0)
        return;
    m_pulling = true;
    verticalScrollBar()->setValue(std::max(top - m_model->FrozenRows(), 0));
    m_pulling = false;
}

void GridView::OnSectionResized(int col, int, int newSize)
{
    if (m_pulling)
        return;
    bool resized = false;
    CallModel([&] { resized = Grid().UserResizeColumn(col, Twips(newSize, m_widthScale)); });
    if (!resized)
        PullColumns();
}

void GridView::OnSectionMoved(int col, int from, int to)
{
    if (m_pulling)
        return;
    // The grid moves the column with its cells; the header goes back to the grid's order.
    m_pulling = true;
    horizontalHeader()->moveSection(to, from);
    m_pulling = false;
    CallModel([&] { Grid().UserMoveColumn(col, to); });
}

void GridView::OnHeaderPressed(int col)
{
    auto& grid = Grid();
    if (grid.Rows() == 0)
        return;
    double x = 0;
    for (int c = 0; c < col; ++c)
        x += grid.ColHidden(c) ? 0 : grid.ColWidth(c);
    x += grid.ColWidth(col) / 2.0;
    const double y = grid.RowHeight(0) / 2.0;
    const int shift = ShiftState(QApplication::keyboardModifiers());
    CallModel([&] {
        grid.UserMouseDown(1, shift, x, y);
        grid.UserMouseUp(1, shift, x, y);
    });
}

void GridView::SetDragRunner(DragRunner runner)
{
    if (!runner)
        runner = [this](std::unique_ptr<QMimeData> data) { RunDrag(std::move(data)); };
    m_dragRunner = std::move(runner);
}

void GridView::RunDrag(std::unique_ptr<QMimeData> data)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction | Qt::MoveAction);
    drag->deleteLater();
}

QPointF GridView::DropPoint(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? GridPoint(index, viewportPos) : QPointF(0, Twips(viewportPos.y()));
}

void GridView::dragEnterEvent(QDragEnterEvent* event)
{
    if (GridDragData::SourceOf(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void GridView::dragMoveEvent(QDragMoveEvent* event)
{
    const QPointF at = DropPoint(event->position().toPoint());
    pf::DropEffect effect = pf::DropEffect::None;
    CallModel([&] {
        effect = Grid().UserDragOver(GridDragData::SourceOf(event->mimeData()),
                                     ButtonsOf(event->buttons()), ShiftState(event->modifiers()),
                                     at.x(), at.y());
    });
    if (effect == pf::DropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(effect == pf::DropEffect::Move ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
}

void GridView::dropEvent(QDropEvent* event)
{
    const QPointF at = DropPoint(event->position().toPoint());
    pf::DropEffect effect = pf::DropEffect::None;
    CallModel([&] {
        effect =
            Grid().UserDrop(GridDragData::SourceOf(event->mimeData()), ButtonsOf(event->buttons()),
                            ShiftState(event->modifiers()), at.x(), at.y());
    });
    event->setDropAction(effect == pf::DropEffect::Move ? Qt::MoveAction : Qt::CopyAction);
    event->setAccepted(effect != pf::DropEffect::None);
}

} // namespace gui
