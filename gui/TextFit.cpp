#include "gui/TextFit.h"

#include "gui/ControlBinding.h"
#include "platform/forms/Control.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <limits>

namespace gui {

namespace pf = platform::forms;

namespace {

// Room between a grown widget and its neighbour on the right.
constexpr int kGap = 2;
// The most a form is enlarged so that its captions fit: beyond it a form made for a small
// screen would not fit one; the captions then grow into the room beside them.
constexpr double kMostScale = 1.6;
// Room a button keeps left and right of its caption, so that it does not touch the border.
constexpr int kButtonPadding = 8;
// Room a frame keeps left and right of its title.
constexpr int kFrameTitleRoom = 16;

// Where a wrapping label may end a line without a blank (see ListLines).
constexpr QChar kBreak(0x200B);
// A blank that does not end a line.
constexpr QChar kKeptBlank(0x00A0);

bool Wraps(QWidget& widget)
{
    auto* label = qobject_cast<QLabel*>(&widget);
    return label && label->wordWrap() &&
           (label->text().contains(QLatin1Char(' ')) || label->text().contains(kBreak));
}

QString Drawn(const QString& caption)
{
    QString text = caption;
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

} // namespace

QString ListLines(const QString& caption, const QFontMetrics& metrics, int width)
{
    const QLatin1Char separator(';');
    if (!caption.contains(separator) || caption.contains(QStringLiteral("; ")))
        return caption;
    QStringList entries = caption.split(separator);
    for (QString& entry : entries)
        if (width <= 0 || metrics.horizontalAdvance(entry + separator) <= width)
            entry.replace(QLatin1Char(' '), kKeptBlank);
    return entries.join(QString(separator) + kBreak);
}

int CaptionWidth(QWidget& widget)
{
    if (auto* button = qobject_cast<QPushButton*>(&widget))
        return button->text().isEmpty() ? 0
                                        : button->fontMetrics().horizontalAdvance(
                                              Drawn(button->text())) +
                                              2 * kButtonPadding;
    if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    if (auto* frame = qobject_cast<QGroupBox*>(&widget))
        return frame->title().isEmpty()
                   ? 0
                   : frame->fontMetrics().horizontalAdvance(Drawn(frame->title())) +
                         kFrameTitleRoom;
    auto* label = qobject_cast<QLabel*>(&widget);
    if (!label || label->text().isEmpty() || !label->pixmap().isNull())
        return 0;
    // A caption that wraps onto the label's lines is whole where they are enough for it.
    if (Wraps(*label) && label->heightForWidth(label->width()) <= label->height())
        return 0;
    const QString text = label->buddy() ? Drawn(label->text()) : label->text();
    const QMargins margins = label->contentsMargins();
    return label->fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() +
           2 * label->margin() + 2;
}

int ComboBoxWidth(const QWidget& widget, int textWidth)
{
    QStyleOptionComboBox option;
    option.initFrom(&widget);
    if (auto* box = qobject_cast<const QComboBox*>(&widget))
        option.editable = box->isEditable();
    return widget.style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option,
                           QSize(textWidth, widget.fontMetrics().height()), &widget)
        .width();
}

namespace {

// The width a combo box needs to show its widest entry beside its arrow.
int EntriesWidth(QComboBox& box)
{
    int widest = 0;
    for (int i = 0; i < box.count(); ++i)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(box.itemText(i)));
    return widest == 0 ? 0 : ComboBoxWidth(box, widest);
}

// What the widget needs to show its text whole, given the width it may take: its caption;
// for a combo box its widest entry where that fits, else its current one (the list it drops
// shows every entry whole), and nothing where neither fits, so that it does not crowd its
// neighbour for no entry gained.
int TextWidth(QWidget& widget, int room)
{
    auto* box = qobject_cast<QComboBox*>(&widget);
    if (!box)
        return CaptionWidth(widget);
    if (const int widest = EntriesWidth(*box); widest <= room)
        return widest;
    const QString current = box->currentText();
    const int needed =
        current.isEmpty() ? 0 : ComboBoxWidth(*box, box->fontMetrics().horizontalAdvance(current));
    return needed <= room ? needed : 0;
}

// The last column inside the frame's border, as the style draws it.
int FrameInsideRight(QGroupBox& frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(&frame);
    option.text = frame.title();
    option.lineWidth = 1;
    option.textAlignment = frame.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (!frame.title().isEmpty())
        option.subControls |= QStyle::SC_GroupBoxLabel;
    return frame.style()
               ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, &frame)
               .right() -
           1;
}

// The right edge the widget may grow to: the nearest sibling that starts right of it on the
// same row, and the inside of the frame it stands in; no limit on the form itself, which grows
// with it.
int RoomTo(const QWidget& widget)
{
    const QRect own = widget.geometry();
    int limit = std::numeric_limits<int>::max();
    if (!widget.parentWidget())
        return limit;
    if (auto* frame = qobject_cast<QGroupBox*>(widget.parentWidget()))
        limit = FrameInsideRight(*frame) - kGap;
    for (QObject* child : widget.parentWidget()->children()) {
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || sibling == &widget || sibling->isHidden())
            continue;
        const QRect other = sibling->geometry();
        const bool sameRow = other.top() <= own.bottom() && other.bottom() >= own.top();
        if (sameRow && other.left() > own.left())
            limit = std::min(limit, other.left() - kGap);
    }
    return limit;
}

} // namespace

double LayoutScale(const std::vector<ControlBinding*>& bindings)
{
    double scale = 1;
    for (ControlBinding* binding : bindings) {
        QWidget* widget = binding->Widget();
        if (!widget || !binding->Placed() || widget->width() <= 0)
            continue;
        scale = std::max(scale, static_cast<double>(CaptionWidth(*widget)) / widget->width());
    }
    return std::min(scale, kMostScale);
}

void FitTexts(const std::vector<ControlBinding*>& bindings)
{
    for (ControlBinding* binding : bindings) {
        QWidget* widget = binding->Widget();
        if (!widget || !binding->Placed())
            continue;
        const int room = RoomTo(*widget);
        const int roomWidth = room == std::numeric_limits<int>::max() ? room : room - widget->x();
        const int needed = TextWidth(*widget, roomWidth);
        if (needed <= widget->width() || qobject_cast<QGroupBox*>(widget))
            continue;
        const int width = std::max(widget->width(), std::min(needed, roomWidth));
        // A caption that may wrap keeps its lines where the room ends first.
        if (width < needed && Wraps(*widget))
            continue;
        binding->SetFitWidth(width);
        binding->Pull();
    }
}

namespace {

bool TakesFocus(const ControlBinding& binding)
{
    QWidget* widget = binding.Widget();
    return widget && !qobject_cast<QLabel*>(widget) && widget->focusPolicy() != Qt::NoFocus;
}

// The control a placed label names: the first one that can take the focus on the label's
// line, to its right, in the same container. A form that makes its labels before its fields
// (all captions of a dialog first) would otherwise send every access key to its first field.
ControlBinding* FieldBeside(const ControlBinding& label,
                            const std::vector<ControlBinding*>& bindings)
{
    const pf::Control& caption = label.Control();
    const int top = caption.Top(), bottom = caption.Top() + caption.Height();
    ControlBinding* nearest = nullptr;
    for (ControlBinding* binding : bindings) {
        const pf::Control& control = binding->Control();
        if (binding == &label || !binding->Placed() || !TakesFocus(*binding) ||
            control.Container() != caption.Container() || control.Left() < caption.Left() ||
            control.Top() >= bottom || control.Top() + control.Height() <= top)
            continue;
        if (!nearest || control.Left() < nearest->Control().Left())
            nearest = binding;
    }
    return nearest;
}

} // namespace

void ConnectBuddies(const std::vector<ControlBinding*>& bindings)
{
    static const QRegularExpression accessKey(QStringLiteral("&[^&]"));
    for (auto it = bindings.begin(); it != bindings.end(); ++it) {
        auto* label = qobject_cast<QLabel*>((*it)->Widget());
        if (!label || !label->text().contains(accessKey))
            continue;
        if (ControlBinding* field = (*it)->Placed() ? FieldBeside(**it, bindings) : nullptr) {
            label->setBuddy(field->Widget());
            continue;
        }
        const auto next =
            std::find_if(it + 1, bindings.end(), [](ControlBinding* b) { return TakesFocus(*b); });
        if (next != bindings.end())
            label->setBuddy((*next)->Widget());
    }
}

} // namespace gui
