#pragma once

// What a person sees of a window's layout, checked widget by widget: the window fits a
// 1024x768 screen, no two controls side by side on one parent cover each other, every
// caption and each combo box's current entry shows whole in its control (measured with the
// control's own font), every control keeps the font size its form gives it (the dialogs: one
// size for all), and the lists show their entries and the choices of their drop-down lists
// whole (a list whose one column fills its width fills it), and inside a frame the fields
// that end its lines share one right edge.
#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace host_test {

/// The smallest screen a dialog must fit, with room for a title bar.
inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;
inline constexpr int kTitleBar = 32;

/// A caption as a person reads it: the access key's "&" is not drawn.
inline QString Shown(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

/// The width a combo box needs to show a text of that width beside its arrow.
inline int ComboWidth(QComboBox& box, int textWidth)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    return box.style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option,
                           QSize(textWidth, box.fontMetrics().height()), &box)
        .width();
}

/// The width a widget's caption needs, with the room its kind keeps around it; 0 for a
/// widget without a caption.
inline int CaptionWidth(QWidget& widget)
{
    // A button's caption keeps some room from its border on either side.
    if (auto* button = qobject_cast<QPushButton*>(&widget); button && !button->text().isEmpty())
        return button->fontMetrics().horizontalAdvance(Shown(button->text())) + 8;
    if (auto* button = qobject_cast<QAbstractButton*>(&widget); button && !button->text().isEmpty())
        return button->sizeHint().width();
    if (auto* box = qobject_cast<QGroupBox*>(&widget); box && !box->title().isEmpty())
        return box->fontMetrics().horizontalAdvance(Shown(box->title())) + 16;
    // A combo box shows its current entry whole.
    if (auto* box = qobject_cast<QComboBox*>(&widget); box && !box->currentText().isEmpty())
        return ComboWidth(*box, box->fontMetrics().horizontalAdvance(box->currentText()));
    auto* label = qobject_cast<QLabel*>(&widget);
    if (!label || label->text().isEmpty() || !label->pixmap().isNull())
        return 0;
    if (label->wordWrap() && label->heightForWidth(label->width()) <= label->height())
        return 0;
    const QString text = label->buddy() ? Shown(label->text()) : label->text();
    const QMargins m = label->contentsMargins();
    return label->fontMetrics().horizontalAdvance(text) + m.left() + m.right() +
           2 * label->margin();
}

/// The widgets of the form's controls that a person sees.
inline std::vector<QWidget*> ShownControls(gui::FormView& view)
{
    std::vector<QWidget*> widgets;
    for (const auto& control : view.Form().Controls())
        if (QWidget* widget = view.WidgetOf(control->Name()); widget && widget->isVisibleTo(&view))
            widgets.push_back(widget);
    return widgets;
}

/// The text width a grid cell needs in the view's font (bold where the model says so), with
/// the room the view keeps around a cell's text and its check box.
inline int CellWidth(gui::GridView& grid, const QModelIndex& index)
{
    QFont font = grid.font();
    if (const QVariant role = index.data(Qt::FontRole); role.canConvert<QFont>())
        font = role.value<QFont>().resolve(font);
    int width = QFontMetrics(font).horizontalAdvance(index.data().toString()) + 6;
    if (index.data(Qt::CheckStateRole).isValid())
        width += 20;
    return width;
}

/// Whether the grid's last shown column reaches the right edge of its list.
inline bool FillsItsList(gui::GridView& grid)
{
    int last = -1;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        if (!grid.isColumnHidden(c))
            last = c;
    return last >= 0 &&
           grid.horizontalHeader()->sectionViewportPosition(last) + grid.columnWidth(last) >=
               grid.viewport()->width();
}

/// A picture or image: a label that shows a pixmap.
inline bool IsPicture(QWidget& widget)
{
    auto* label = qobject_cast<QLabel*>(&widget);
    return label && !label->pixmap().isNull();
}

/// The part of a frame inside its border and below its title, as the style draws them.
inline QRect FrameInside(QGroupBox& frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(&frame);
    option.text = frame.title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = frame.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (!frame.title().isEmpty())
        option.subControls |= QStyle::SC_GroupBoxLabel;
    const QRect contents = frame.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxContents, &frame);
    return contents.adjusted(1, 1, -1, -1);
}

/// A desktop dialog's lists and tables (a file dialog's places and a folder's details) show
/// each of their texts whole in its column.
inline void CheckListTexts(QWidget& dialog)
{
    const std::string where = dialog.objectName().toStdString();
    for (auto* list : dialog.findChildren<QAbstractItemView*>()) {
        auto* table = qobject_cast<QTreeView*>(list);
        if (!list->isVisibleTo(&dialog) || qobject_cast<QHeaderView*>(list))
            continue;
        const QAbstractItemModel* model = list->model();
        for (int r = 0; r < model->rowCount(list->rootIndex()); ++r)
            for (int c = 0; c < model->columnCount(list->rootIndex()); ++c) {
                if (table && table->isColumnHidden(c))
                    continue;
                const QModelIndex cell = model->index(r, c, list->rootIndex());
                EXPECT_LE(list->sizeHintForIndex(cell).width(),
                          table ? table->columnWidth(c) : list->viewport()->width())
                    << where << "." << list->objectName().toStdString() << " cuts \""
                    << cell.data().toString().toStdString() << "\"";
            }
    }
}

/// Whether a person sees where the widget ends on the right: a field, list or button draws
/// its border there; a label, check box or option button ends in empty space.
inline bool ShowsItsRightEdge(QWidget& widget)
{
    if (qobject_cast<QLabel*>(&widget) || qobject_cast<QCheckBox*>(&widget) ||
        qobject_cast<QRadioButton*>(&widget))
        return false;
    return qobject_cast<QLineEdit*>(&widget) || qobject_cast<QComboBox*>(&widget) ||
           qobject_cast<QAbstractButton*>(&widget) || qobject_cast<QAbstractSpinBox*>(&widget) ||
           qobject_cast<QGroupBox*>(&widget) || qobject_cast<QAbstractItemView*>(&widget);
}

/// Inside one frame, the last bordered control of each line (a field, list or button) ends
/// on the same right edge as the others, or clearly apart from them: an edge a few pixels
/// short of the one below reads as a slip (more than the pixel that rounding gives).
inline void CheckRightEdges(QGroupBox& frame, const std::string& where)
{
    constexpr int kRounding = 1;
    constexpr int kApart = 40;
    std::vector<QWidget*> bordered;
    for (auto* child : frame.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(&frame) && ShowsItsRightEdge(*child))
            bordered.push_back(child);
    std::vector<QWidget*> lineEnds;
    for (QWidget* widget : bordered) {
        const QRect own = widget->geometry();
        const bool last = std::none_of(bordered.begin(), bordered.end(), [&](QWidget* other) {
            const QRect r = other->geometry();
            return other != widget && r.top() <= own.bottom() && r.bottom() >= own.top() &&
                   r.left() > own.left();
        });
        if (last)
            lineEnds.push_back(widget);
    }
    for (QWidget* widget : lineEnds)
        for (QWidget* other : lineEnds) {
            const int short_ = other->geometry().right() - widget->geometry().right();
            EXPECT_FALSE(short_ > kRounding && short_ < kApart)
                << where << "." << widget->objectName().toStdString() << " ends " << short_
                << " px short of " << other->objectName().toStdString() << " in "
                << frame.objectName().toStdString();
        }
}

/// Every check of the file's header, on one form's window; `where` names it in failures.
inline void CheckLayout(gui::FormView& view)
{
    const std::string where = view.objectName().toStdString();
    EXPECT_LE(view.frameGeometry().width(), kScreenWidth) << where;
    EXPECT_LE(view.frameGeometry().height() + kTitleBar, kScreenHeight) << where;
    const std::vector<QWidget*> widgets = ShownControls(view);
    for (const auto& control : view.Form().Controls()) {
        // Each control shows in the font size the form gives it (a grid in its own), never
        // shrunk to squeeze a caption in.
        QWidget* widget = view.WidgetOf(control->Name());
        if (!widget || !widget->isVisibleTo(&view))
            continue;
        const auto* grid = qobject_cast<gui::GridView*>(widget);
        EXPECT_EQ(widget->font().pointSizeF(), grid ? grid->Grid().FontSize() : control->FontSize())
            << where << "." << control->Name() << " has another font size";
    }
    for (QWidget* widget : widgets) {
        const std::string name = where + "." + widget->objectName().toStdString();
        EXPECT_LE(CaptionWidth(*widget), widget->width()) << name << " cuts its caption";
        // Inside a frame: below its title and clear of its border.
        if (auto* frame = qobject_cast<QGroupBox*>(widget->parentWidget())) {
            EXPECT_TRUE(FrameInside(*frame).contains(widget->geometry()))
                << name << " sits on the border or title of its frame";
        }
        // Pictures may lie on pictures; controls a person reads or works may not overlap.
        for (QWidget* other : widgets)
            if (other < widget && other->parentWidget() == widget->parentWidget() &&
                !(IsPicture(*other) && IsPicture(*widget))) {
                EXPECT_FALSE(other->geometry().intersects(widget->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
    }
    for (auto* frame : view.findChildren<QGroupBox*>())
        if (frame->isVisibleTo(&view))
            CheckRightEdges(*frame, where);
    for (auto* grid : view.findChildren<gui::GridView*>()) {
        if (!grid->isVisibleTo(&view))
            continue;
        const std::string name = where + "." + grid->objectName().toStdString();
        const auto* model = grid->model();
        int last = -1;
        for (int c = 0; c < model->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                last = c;
        if (last < 0)
            continue;
        if (grid->Grid().ExtendLastCol()) {
            EXPECT_TRUE(FillsItsList(*grid)) << name << " does not fill its list";
        }
        // Each choice of a column's drop-down list shows whole once picked: within the style's
        // margins either side and the cell's grid line.
        const int room =
            2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
        for (int c = 0; c <= last; ++c) {
            const std::string list = grid->Grid().ColComboList(c);
            if (grid->isColumnHidden(c) || list.empty())
                continue;
            for (const QString& choice : QString::fromStdString(list).split(QLatin1Char('|')))
                EXPECT_LE(QFontMetricsF(grid->font()).horizontalAdvance(choice) + room,
                          grid->columnWidth(c))
                    << name << " cuts its choice \"" << choice.toStdString() << "\"";
        }
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c <= last; ++c)
                if (!grid->isColumnHidden(c) &&
                    model->index(r, c).data(gui::GridModel::NodeRole).toInt() < 0) {
                    EXPECT_LE(CellWidth(*grid, model->index(r, c)), grid->columnWidth(c))
                        << name << " cuts \"" << model->index(r, c).data().toString().toStdString()
                        << "\"";
                }
    }
}

} // namespace host_test
