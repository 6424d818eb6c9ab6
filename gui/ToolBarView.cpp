#include "gui/ToolBarView.h"

#include "gui/ControlBinding.h"
#include "gui/DesktopWindows.h"
#include "gui/Pictures.h"
#include "gui/TextFit.h"
#include "gui/Units.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/ToolBar.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>

#include <algorithm>

#include <vector>

namespace gui {

namespace pf = platform::forms;

namespace {

class ToolBarBinding : public ControlBinding
{
public:
    ToolBarBinding(std::shared_ptr<pf::ToolBar> bar, QToolBar* widget)
        : ControlBinding(bar, widget), m_bar(bar), m_toolBar(widget)
    {
        widget->setIconSize(QSize(16, 16));
        widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }

protected:
    void PullKind() override
    {
        const auto& buttons = m_bar->Buttons();
        if (buttons != m_shown) {
            Rebuild();
        }
        // Buttons change their state without telling the bar: the state is read every time.
        const auto actions = m_toolBar->actions();
        for (std::size_t i = 0; i < m_shown.size() && i < std::size_t(actions.size()); ++i) {
            actions[qsizetype(i)]->setEnabled(m_shown[i]->Enabled());
            actions[qsizetype(i)]->setVisible(m_shown[i]->Visible());
        }
    }

private:
    void Rebuild()
    {
        // The old actions go once the loop is back: one of them may be the one being clicked.
        for (QAction* action : m_toolBar->actions()) {
            m_toolBar->removeAction(action);
            if (action->parent() == m_toolBar)
                action->deleteLater();
        }
        m_shown = m_bar->Buttons();
        for (const auto& button : m_shown) {
            if (button->Kind() == pf::ButtonKind::Separator) {
                m_toolBar->addSeparator();
                continue;
            }
            QAction* action =
                m_toolBar->addAction(IconOf(button->Picture().get()), ToQ(button->ToolTipText()));
            action->setObjectName(ToQ(button->Key()));
            action->setToolTip(ToQ(button->ToolTipText()));
            const std::string key = button->Key();
            auto bar = m_bar;
            connect(action, &QAction::triggered, this,
                    [bar, key] { CallModel([&] { bar->Click(key); }); });
        }
    }

    std::shared_ptr<pf::ToolBar> m_bar;
    QToolBar* m_toolBar;
    std::vector<std::shared_ptr<pf::ToolBarButton>> m_shown;
};

// How many characters of the font's average width a list beside the tool bar shows at most:
// the names of the shipped templates and more.
constexpr int kListCharacters = 30;

// The room an entry of a drop-down keeps beside its text: the style's margins and a scroll
// bar.
int EntryRoom(const QComboBox& box)
{
    const QStyle* style = box.style();
    return 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &box) + 1) +
           style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box) + 4;
}

// The widest the drop-down may be: the screen's width, less the frame around the drop-down.
int MostPopupWidth(const QComboBox& box)
{
    constexpr int kFrame = 8;
    const QScreen* screen = box.screen();
    return (screen ? screen->availableGeometry().width() : 1024) - kFrame;
}

// Draws a drop-down's entries whole: an entry wider than the drop-down wraps onto further
// lines, at a word's end where it can, else anywhere.
class WrappedEntries : public QStyledItemDelegate
{
public:
    explicit WrappedEntries(QComboBox& box) : QStyledItemDelegate(&box), m_box(box) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize plain = QStyledItemDelegate::sizeHint(option, index);
        const QRect text = TextRect(option.fontMetrics, index.data().toString());
        return {std::max(plain.width(), text.width() + EntryRoom(m_box)),
                std::max(plain.height(), text.height() + 4)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : m_box.style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        painter->save();
        painter->setPen(item.palette.color(
            item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(margin, 0, -margin, 0),
                          int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere), text);
        painter->restore();
    }

private:
    // The lines a text takes in the widest the drop-down may be.
    QRect TextRect(const QFontMetrics& metrics, const QString& text) const
    {
        const int width = std::max(MostPopupWidth(m_box) - EntryRoom(m_box), 1);
        return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWrapAnywhere, text);
    }

    QComboBox& m_box;
};

// The drop-down as wide as its widest entry needs, within the screen.
void WidenPopup(QComboBox& box)
{
    int widest = 0;
    for (int i = 0; i < box.count(); ++i)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(box.itemText(i)));
    box.view()->setMinimumWidth(std::min(widest + EntryRoom(box), MostPopupWidth(box)));
}

} // namespace

void BoundBesideToolBar(QComboBox& box)
{
    box.setMaximumWidth(ComboBoxWidth(box, box.fontMetrics().averageCharWidth() * kListCharacters));
    box.setItemDelegate(new WrappedEntries(box));
    box.view()->setTextElideMode(Qt::ElideNone);
    // The entries change as the add-in fills the list.
    QAbstractItemModel* model = box.model();
    const auto widen = [&box] { WidenPopup(box); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &box, widen);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, &box, widen);
    QObject::connect(model, &QAbstractItemModel::modelReset, &box, widen);
    QObject::connect(model, &QAbstractItemModel::dataChanged, &box, widen);
    WidenPopup(box);
}

ControlBinding* BindToolBar(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    auto bar = std::dynamic_pointer_cast<pf::ToolBar>(control);
    if (!bar)
        return nullptr;
    return new ToolBarBinding(bar, new QToolBar(parent));
}

} // namespace gui
