#include "gui/FrozenRows.h"

#include <QHeaderView>
#include <QScrollBar>

namespace gui {

FrozenRows::FrozenRows(QTableView& grid) : QTableView(&grid), m_grid(grid)
{
    setModel(grid.model());
    setSelectionModel(grid.selectionModel());
    setItemDelegate(grid.itemDelegate());
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(grid.wordWrap());
    setShowGrid(grid.showGrid());
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(grid.horizontalScrollMode());
    // Presses, wheel turns and drops reach the grid view below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    horizontalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(grid.verticalHeader()->defaultSectionSize());
    connect(grid.horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int) { FollowColumn(col); });
    connect(grid.horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
            &QScrollBar::setValue);
    hide();
}

void FrozenRows::FollowColumn(int col)
{
    if (col < 0 || col >= model()->columnCount())
        return;
    setColumnHidden(col, m_grid.isColumnHidden(col));
    if (!m_grid.isColumnHidden(col))
        setColumnWidth(col, m_grid.columnWidth(col));
}

void FrozenRows::Follow(int height)
{
    if (height <= 0) {
        hide();
        return;
    }
    for (int c = 0; c < model()->columnCount(); ++c)
        FollowColumn(c);
    const QRect viewport = m_grid.viewport()->geometry();
    setGeometry(viewport.left(), viewport.top(), viewport.width(),
                std::min(height, viewport.height()));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(m_grid.horizontalScrollBar()->value());
    show();
    raise();
}

} // namespace gui
