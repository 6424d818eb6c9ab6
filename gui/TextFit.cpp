#include "gui/TextFit.h"

#include "gui/ControlBinding.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace gui {

namespace {

// Room between a grown widget and its neighbour on the right.
constexpr int kGap = 2;
// The smallest share of its font size a caption is shrunk to so that it fits.
constexpr double kLeastFontScale = 0.8;

bool Wraps(QWidget& widget)
{
    auto* label = qobject_cast<QLabel*>(&widget);
    return label && label->wordWrap() && label->text().contains(QLatin1Char(' '));
}

// The width the widget's caption needs on one line, or 0 when it has no caption to fit.
int NeededWidth(QWidget& widget)
{
    if (qobject_cast<QCheckBox*>(&widget) || qobject_cast<QRadioButton*>(&widget))
        return widget.sizeHint().width();
    auto* label = qobject_cast<QLabel*>(&widget);
    if (!label || label->text().isEmpty() || !label->pixmap().isNull())
        return 0;
    // A caption that wraps onto the label's lines is whole where they are enough for it.
    if (Wraps(*label) && label->heightForWidth(label->width()) <= label->height())
        return 0;
    QString text = label->text();
    if (label->buddy())
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const QMargins margins = label->contentsMargins();
    return label->fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() +
           2 * label->margin() + 2;
}

// The right edge the widget may grow to: the nearest sibling that starts right of it on the
// same row, or no limit.
int RoomTo(const QWidget& widget)
{
    const QRect own = widget.geometry();
    int limit = std::numeric_limits<int>::max();
    if (!widget.parentWidget())
        return limit;
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

void FitTexts(const std::vector<ControlBinding*>& bindings)
{
    for (ControlBinding* binding : bindings) {
        QWidget* widget = binding->Widget();
        if (!widget || !binding->Placed())
            continue;
        const int needed = NeededWidth(*widget);
        if (needed <= widget->width())
            continue;
        const int room = RoomTo(*widget);
        const int width =
            std::max(widget->width(), std::min(needed, room == std::numeric_limits<int>::max()
                                                           ? needed
                                                           : room - widget->x()));
        // Where the room ends first, a slightly smaller font makes up the rest; a caption
        // that may wrap otherwise keeps its lines.
        const double scale = static_cast<double>(width) / needed;
        if (width < needed && scale >= kLeastFontScale)
            binding->SetFontScale(scale);
        else if (width < needed && Wraps(*widget))
            continue;
        binding->SetFitWidth(width);
        binding->Pull();
    }
}

void ConnectBuddies(const std::vector<ControlBinding*>& bindings)
{
    static const QRegularExpression accessKey(QStringLiteral("&[^&]"));
    for (auto it = bindings.begin(); it != bindings.end(); ++it) {
        auto* label = qobject_cast<QLabel*>((*it)->Widget());
        if (!label || !label->text().contains(accessKey))
            continue;
        const auto next = std::find_if(it + 1, bindings.end(), [](ControlBinding* b) {
            QWidget* w = b->Widget();
            return w && !qobject_cast<QLabel*>(w) && w->focusPolicy() != Qt::NoFocus;
        });
        if (next != bindings.end())
            label->setBuddy((*next)->Widget());
    }
}

} // namespace gui
