#pragma once

#include <QStyledItemDelegate>

namespace gui {

class GridView;

/// Paints a grid cell with its grid lines and the outline (indent by level, a box with + or -
/// on node rows, in the grid's outline column; a node's caption runs on over the blank cells
/// after it, which then show as one cell with it) and edits a cell in place: a drop-down list
/// where the column has one (the pick is the grid's UserPickComboItem), else a line of text
/// (UserEdit).
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
    /// A text its cell cuts shows whole in the cell's tooltip; a text shown whole has none.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    /// A node's caption and the cells it covers in its row: the outline cell and the blank
    /// cells after it that its text runs on over, from left to right in viewport pixels.
    struct Span
    {
        QModelIndex caption; // invalid: the cell lies under no caption
        int last = -1;       // the last column the caption covers
        int left = 0, right = 0;
    };
    bool InOutline(const QModelIndex& index) const;
    /// A cell that shows nothing: no text but blanks, no picture, no box.
    static bool IsBlank(const QModelIndex& index);
    /// The pixels a node's caption needs from its cell's left edge: indent, box, text.
    int CaptionWidth(const QStyleOptionViewItem& option, const QModelIndex& caption) const;
    Span SpanOf(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QStyle::State SpanState(QStyle::State state, const Span& span) const;
    void PaintSpan(QPainter* painter, const QStyleOptionViewItem& option, const Span& span,
                   const QRect& clip) const;
    void PaintBorders(QPainter* painter, const QStyleOptionViewItem& option, bool right) const;
    GridView& m_view;
};

} // namespace gui
