#include "gui/FlowLayout.h"

#include "gui/GridView.h"
#include "platform/forms/StandardControls.h"

#include <QBoxLayout>
#include <QGroupBox>

namespace gui {

namespace pf = platform::forms;

namespace {

// More closing buttons than this stand in a column beside the body rather than below it.
constexpr std::size_t kButtonsInARow = 3;

template <class T> bool Is(const pf::Control* control)
{
    return dynamic_cast<const T*>(control) != nullptr;
}

bool IsField(const pf::Control* control)
{
    return Is<pf::TextBox>(control) || Is<pf::ComboBox>(control) || Is<pf::DTPicker>(control);
}

bool IsGrid(const FlowItem& item)
{
    return qobject_cast<GridView*>(item.widget) != nullptr;
}

// The first of the last run of buttons (grids between them skipped); a button right after a
// list box belongs to the list (an "insert" button), so the run stops before it.
std::size_t ClosingButtons(const std::vector<FlowItem>& items)
{
    std::size_t first = items.size();
    for (std::size_t i = items.size(); i-- > 0;) {
        if (IsGrid(items[i]))
            continue;
        if (!Is<pf::CommandButton>(items[i].control))
            break;
        if (i > 0 && Is<pf::ComboBox>(items[i - 1].control))
            break;
        first = i;
    }
    return first;
}

class Builder
{
public:
    Builder(const std::vector<FlowItem>& contained) : m_contained(contained) {}

    // Lays out items [0, end) into body; answers whether a grid is among them.
    bool Body(QVBoxLayout& body, const std::vector<FlowItem>& items, std::size_t end)
    {
        QVBoxLayout* section = &body;
        bool hasGrid = false;
        for (std::size_t i = 0; i < end; ++i) {
            const FlowItem& item = items[i];
            if (IsGrid(item)) {
                section->addWidget(item.widget, 1);
                hasGrid = true;
            } else if (auto* box = qobject_cast<QGroupBox*>(item.widget)) {
                auto* inner = new QVBoxLayout(box);
                if (HoldOwn(*inner, item.control)) {
                    section->addWidget(box);
                } else {
                    // A frame of its own heads the section of the controls that follow.
                    body.addWidget(box);
                    section = inner;
                }
            } else if (IsField(item.control) && i + 1 < end &&
                       Is<pf::CommandButton>(items[i + 1].control)) {
                auto* row = new QHBoxLayout;
                row->addWidget(item.widget, 1);
                row->addWidget(items[++i].widget);
                section->addLayout(row);
            } else {
                section->addWidget(item.widget);
            }
        }
        return hasGrid;
    }

    std::set<const pf::Control*> Held() const { return m_held; }

private:
    // Puts the controls the frame holds (those without a position) into its layout.
    bool HoldOwn(QVBoxLayout& inner, const pf::Control* frame)
    {
        bool any = false;
        for (const FlowItem& item : m_contained)
            if (item.control->Container() == frame && item.control->Left() == 0 &&
                item.control->Top() == 0) {
                inner.addWidget(item.widget);
                m_held.insert(item.control);
                any = true;
            }
        return any;
    }

    const std::vector<FlowItem>& m_contained;
    std::set<const pf::Control*> m_held;
};

} // namespace

std::set<const pf::Control*> LayOutFlow(QBoxLayout& target, const std::vector<FlowItem>& items,
                                        const std::vector<FlowItem>& contained)
{
    const std::size_t closing = ClosingButtons(items);
    Builder builder(contained);
    auto* body = new QVBoxLayout;
    const bool hasGrid = builder.Body(*body, items, closing);
    std::vector<QWidget*> buttons, grids;
    for (std::size_t i = closing; i < items.size(); ++i)
        (IsGrid(items[i]) ? grids : buttons).push_back(items[i].widget);
    for (QWidget* grid : grids)
        body->addWidget(grid, 1);
    const bool column =
        !buttons.empty() && (hasGrid || !grids.empty() || buttons.size() > kButtonsInARow);
    const int bodyStretch = hasGrid || !grids.empty() ? 1 : 0;
    auto* buttonBox = column ? static_cast<QBoxLayout*>(new QVBoxLayout)
                             : static_cast<QBoxLayout*>(new QHBoxLayout);
    if (!column)
        buttonBox->addStretch(1);
    for (QWidget* button : buttons)
        buttonBox->addWidget(button);
    if (column) {
        buttonBox->addStretch(1);
        auto* row = new QHBoxLayout;
        row->addLayout(body, 1);
        row->addLayout(buttonBox);
        target.addLayout(row, bodyStretch);
    } else {
        target.addLayout(body, bodyStretch);
        if (!buttons.empty())
            target.addLayout(buttonBox);
        else
            delete buttonBox;
    }
    // Without a grid the room that is left stays below the controls.
    if (bodyStretch == 0)
        target.addStretch(1);
    return builder.Held();
}

} // namespace gui
