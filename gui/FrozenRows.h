#pragma once

#include <QTableView>

namespace gui {

/// The grid's fixed rows below its header, kept in place while the rows under them scroll: a
/// table over the same model, selection and delegate that lies over the top of the grid
/// view's viewport and shows only its first rows. It takes no input of its own: the person's
/// presses and wheel turns pass through to the grid view, which knows the band is there.
class FrozenRows : public QTableView
{
    Q_OBJECT
public:
    /// Follows the columns and horizontal scroll of `grid`, over which it lies.
    explicit FrozenRows(QTableView& grid);

    /// Lies over the top `height` pixels of the grid's viewport (hidden for 0) and shows the
    /// grid's column widths, hidden columns and horizontal scroll.
    void Follow(int height);

private:
    void FollowColumn(int col);

    QTableView& m_grid;
};

} // namespace gui
