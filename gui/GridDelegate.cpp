#include "gui/GridDelegate.h"

#include "gui/DesktopWindows.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

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

bool GridDelegate::IsBlank(const QModelIndex& index)
{
    // Total rows put a blank into their empty cells.
    return index.data().toString().trimmed().isEmpty() &&
           !index.data(Qt::DecorationRole).isValid() && !index.data(Qt::CheckStateRole).isValid();
}

int GridDelegate::CaptionWidth(const QStyleOptionViewItem& option, const QModelIndex& caption) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, caption);
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    int width = Indent(std::max(caption.data(GridModel::OutlineLevelRole).toInt(), 0)) +
                QFontMetrics(item.font).horizontalAdvance(item.text) + 2 * margin;
    if (item.features & QStyleOptionViewItem::HasCheckIndicator)
        width += style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) + 2 * margin;
    if (item.features & QStyleOptionViewItem::HasDecoration)
        width += item.decorationSize.width() + 2 * margin;
    return width;
}

GridDelegate::Span GridDelegate::SpanOf(const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    // A node's caption in the outline column runs on over the blank cells to its right, as
    // far as its text needs: those cells then show as one with the caption's cell.
    const int outline = m_view.Grid().OutlineCol();
    if (index.column() < outline || (index.column() > outline && !IsBlank(index)))
        return {};
    const QModelIndex caption = index.sibling(index.row(), outline);
    if (!InOutline(caption))
        return {};
    const QRect own = m_view.visualRect(caption);
    const int needed = own.left() + CaptionWidth(option, caption);
    Span span{caption, outline, own.left(), own.right()};
    const auto* model = index.model();
    for (int c = outline + 1; c < model->columnCount() && span.right < needed; ++c) {
        if (m_view.isColumnHidden(c))
            continue;
        const QModelIndex cell = index.sibling(index.row(), c);
        if (!IsBlank(cell))
            break;
        span.last = c;
        span.right = m_view.visualRect(cell).right();
    }
    if (index.column() > span.last)
        return {};
    return span;
}

QStyle::State GridDelegate::SpanState(QStyle::State state, const Span& span) const
{
    // One look for the whole caption: selected where any of its cells is, with the focus
    // frame where one of them is current.
    state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    const auto* selection = m_view.selectionModel();
    for (int c = span.caption.column(); c <= span.last; ++c) {
        if (m_view.isColumnHidden(c))
            continue;
        const QModelIndex cell = span.caption.sibling(span.caption.row(), c);
        if (selection && selection->isSelected(cell))
            state |= QStyle::State_Selected;
        if (cell == m_view.currentIndex() && m_view.hasFocus())
            state |= QStyle::State_HasFocus;
    }
    return state;
}

bool GridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                             const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QStyle* style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    // A long template name or caption is cut with an ellipsis: here it is read whole.
    if (!item.text.isEmpty() &&
        QFontMetrics(item.font).horizontalAdvance(item.text) > text.width() - 2 * margin) {
        QToolTip::showText(event->globalPos(), item.text, view->viewport(), option.rect);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    const Span span = SpanOf(option, index);
    // The cell's right border stands only where the caption over it ends.
    const bool rightBorder = !span.caption.isValid() || index.column() == span.last;
    QRect inside = option.rect.adjusted(0, 0, rightBorder ? -1 : 0, -1);
    if (span.caption.isValid()) {
        PaintSpan(painter, option, span, inside);
    } else {
        QStyleOptionViewItem cell(option);
        cell.rect = inside;
        QStyledItemDelegate::paint(painter, cell, index);
    }
    PaintBorders(painter, option, rightBorder);
}

void GridDelegate::PaintSpan(QPainter* painter, const QStyleOptionViewItem& option,
                             const Span& span, const QRect& clip) const
{
    // Each cell under the caption draws all of it, clipped to the cell itself, so that the
    // caption shows whole whichever cells are painted again.
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int level = std::max(span.caption.data(GridModel::OutlineLevelRole).toInt(), 0);
    const QRect whole(QPoint(span.left, option.rect.top()),
                      QPoint(span.right - 1, option.rect.bottom() - 1));
    QStyleOptionViewItem item(option);
    initStyleOption(&item, span.caption);
    item.state = SpanState(option.state, span);
    painter->save();
    painter->setClipRect(clip);
    // The background, the selection and the focus frame span the whole caption ...
    QStyleOptionViewItem panel(item);
    panel.rect = whole;
    panel.text.clear();
    panel.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration |
                        QStyleOptionViewItem::HasCheckIndicator);
    style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);
    // ... the text, its box and its picture stand after the indent.
    item.rect = whole.adjusted(Indent(level), 0, 0, 0);
    item.backgroundBrush = Qt::NoBrush;
    item.state &= ~QStyle::State_HasFocus;
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const int node = span.caption.data(GridModel::NodeRole).toInt();
    if (node >= 0 && node != GridModel::kLeafNode) {
        const QRect cell(QPoint(span.left, option.rect.top()), option.rect.bottomLeft());
        const QRect box = BoxRect(cell, level);
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->setBrush(option.palette.base());
        painter->drawRect(box);
        painter->setPen(option.palette.color(QPalette::Text));
        const QPoint c = box.center();
        painter->drawLine(c.x() - 2, c.y(), c.x() + 2, c.y());
        if (node != 0) // collapsed or showing its totals only: the box offers to expand
            painter->drawLine(c.x(), c.y() - 2, c.x(), c.y() + 2);
    }
    painter->restore();
}

void GridDelegate::PaintBorders(QPainter* painter, const QStyleOptionViewItem& option,
                                bool right) const
{
    // The grid lines are the cells' own, as the view draws none: a caption that runs on over
    // a cell has no line under it.
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const auto colour =
        static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget));
    const QRect& r = option.rect;
    painter->save();
    painter->setPen(QPen(QColor::fromRgba(colour), 0));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    if (right)
        painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
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
