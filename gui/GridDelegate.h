#pragma once

#include <QStyledItemDelegate>

namespace gui {

class GridView;

/// Paints a grid cell with the outline (indent by level, a box with + or - on node rows, in
/// the grid's outline column) and edits a cell in place: a drop-down list where the column
/// has one (the pick is the grid's UserPickComboItem), else a line of text (UserEdit).
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    /// Pixels of indent per outline level, and the side of the node box.
    static constexpr int kIndent = 12;
    static constexpr int kBox = 9;

    explicit GridDelegate(GridView& view);

    /// The node box of a cell whose rectangle is rect, at the given outline level.
    static QRect BoxRect(const QRect& rect, int level);
    /// The cell's indent in pixels in the outline column.
    static int Indent(int level) { return level * kIndent + kBox + 4; }

    /// Where the cell's check box is drawn in a cell whose option (rectangle, font) is given;
    /// empty when the cell has none.
    QRect CheckRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    bool InOutline(const QModelIndex& index) const;
    void PaintSpilledCaption(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const;
    QRect SpillRect(const QRect& rect, const QModelIndex& index) const;
    GridView& m_view;
};

} // namespace gui
