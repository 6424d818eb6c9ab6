#include "gui/GridDelegate.h"

#include "gui/DesktopWindows.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>

namespace gui {

namespace {

QStringList ComboEntries(const std::string& list)
{
    return ToQ(list).split(QLatin1Char('|'));
}

} // namespace

GridDelegate::GridDelegate(GridView& view) : QStyledItemDelegate(&view), m_view(view) {}

QRect GridDelegate::BoxRect(const QRect& rect, int level)
{
    return QRect(rect.left() + level * kIndent + 2, rect.center().y() - kBox / 2, kBox, kBox);
}

bool GridDelegate::InOutline(const QModelIndex& index) const
{
    return index.column() == m_view.Grid().OutlineCol() &&
           index.data(GridModel::NodeRole).toInt() >= 0;
}

QRect GridDelegate::SpillRect(const QRect& rect, const QModelIndex& index) const
{
    // A node's caption runs on over the cells to its right that show nothing (empty, or the
    // blank that total rows put into their empty cells).
    QRect spill = rect;
    const auto* model = index.model();
    for (int c = index.column() + 1; c < model->columnCount(); ++c) {
        if (m_view.isColumnHidden(c))
            continue;
        if (!model->index(index.row(), c).data().toString().trimmed().isEmpty())
            break;
        spill.setRight(m_view.visualRect(model->index(index.row(), c)).right());
    }
    return spill;
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    if (!InOutline(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        PaintSpilledCaption(painter, option, index);
        return;
    }
    const int level = std::max(index.data(GridModel::OutlineLevelRole).toInt(), 0);
    const int node = index.data(GridModel::NodeRole).toInt();
    // The cell's background spans the whole cell; the text moves right by the indent.
    QStyleOptionViewItem shifted(option);
    const QVariant background = index.data(Qt::BackgroundRole);
    if (background.canConvert<QBrush>())
        painter->fillRect(option.rect, background.value<QBrush>());
    shifted.rect = SpillRect(option.rect, index);
    shifted.rect.setLeft(option.rect.left() + Indent(level));
    painter->save();
    painter->setClipRect(shifted.rect.united(option.rect));
    QStyledItemDelegate::paint(painter, shifted, index);
    painter->restore();
    if (node < 0 || node == GridModel::kLeafNode)
        return;
    const QRect box = BoxRect(option.rect, level);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->setBrush(option.palette.base());
    painter->drawRect(box);
    painter->setPen(option.palette.color(QPalette::Text));
    const QPoint c = box.center();
    painter->drawLine(c.x() - 2, c.y(), c.x() + 2, c.y());
    if (node != 0) // collapsed or showing its totals only: the box offers to expand
        painter->drawLine(c.x(), c.y() - 2, c.x(), c.y() + 2);
    painter->restore();
}

QRect GridDelegate::CheckRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if (!(item.features & QStyleOptionViewItem::HasCheckIndicator))
        return {};
    // The box stands where paint() draws it: after the indent in the outline column.
    if (InOutline(index))
        item.rect.setLeft(option.rect.left() +
                          Indent(std::max(index.data(GridModel::OutlineLevelRole).toInt(), 0)));
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, widget);
}

void GridDelegate::PaintSpilledCaption(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    // An empty cell paints its own background over the part of a node's caption that runs
    // on into it from the outline column (the cells paint left to right): that part is drawn
    // again on top, in this cell's colours.
    const int outline = m_view.Grid().OutlineCol();
    if (index.column() <= outline || !index.data().toString().trimmed().isEmpty())
        return;
    const QModelIndex caption = index.sibling(index.row(), outline);
    if (!InOutline(caption) || caption.data().toString().isEmpty())
        return;
    const QRect cell = m_view.visualRect(caption);
    const QRect spill = SpillRect(cell, caption);
    if (spill.right() < option.rect.left())
        return;
    QStyleOptionViewItem text(option);
    initStyleOption(&text, caption);
    text.rect = spill;
    text.rect.setLeft(cell.left() +
                      Indent(std::max(caption.data(GridModel::OutlineLevelRole).toInt(), 0)));
    text.state = option.state & ~QStyle::State_HasFocus;
    text.backgroundBrush = Qt::NoBrush;
    text.features &= ~(QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator);
    painter->save();
    painter->setClipRect(option.rect);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &text, painter, widget);
    painter->restore();
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const std::string list = m_view.Grid().ColComboList(index.column());
    if (list.empty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->addItems(ComboEntries(list));
    return combo;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const int row = m_view.Model().GridRow(index.row());
    if (row < 0 || combo->currentIndex() < 0)
        return;
    CallModel([&] { m_view.Grid().UserPickComboItem(row, index.column(), combo->currentIndex()); });
}

} // namespace gui
