#include "gui/ToolBarView.h"

#include "gui/ControlBinding.h"
#include "gui/DesktopWindows.h"
#include "gui/Pictures.h"
#include "gui/Units.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/ToolBar.h"

#include <QAction>
#include <QToolBar>

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

} // namespace

ControlBinding* BindToolBar(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    auto bar = std::dynamic_pointer_cast<pf::ToolBar>(control);
    if (!bar)
        return nullptr;
    return new ToolBarBinding(bar, new QToolBar(parent));
}

} // namespace gui
