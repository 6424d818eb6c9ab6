#include "gui/MenuView.h"

#include "gui/ControlBinding.h"
#include "gui/DesktopWindows.h"
#include "gui/Pictures.h"
#include "gui/Units.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/MenuBar.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include <string>
#include <utility>
#include <vector>

namespace gui {

namespace pf = platform::forms;

namespace {

class MenuBarBinding : public ControlBinding
{
public:
    MenuBarBinding(std::shared_ptr<pf::MenuBar> bar, QMenuBar* widget)
        : ControlBinding(bar, widget), m_bar(bar), m_menuBar(widget)
    {
    }

protected:
    void PullKind() override
    {
        RebuildTopLevel();
        ShowPopup();
    }

private:
    // Fills a menu from the item's children; sub-menus fill themselves when they open.
    void Fill(QMenu* menu, const std::shared_ptr<pf::MenuItem>& item)
    {
        menu->clear();
        for (const auto& child : item->Children()) {
            if (!child->Visible())
                continue;
            if (child->IsSeparator()) {
                menu->addSeparator();
                continue;
            }
            if (!child->Children().empty()) {
                QMenu* sub = menu->addMenu(IconOf(child->Picture().get()), ToQ(child->Caption()));
                sub->setEnabled(child->Enabled());
                connect(sub, &QMenu::aboutToShow, this, [this, sub, child] { Fill(sub, child); });
                continue;
            }
            QAction* action =
                menu->addAction(IconOf(child->Picture().get()), ToQ(child->Caption()));
            action->setObjectName(ToQ(child->Key()));
            action->setEnabled(child->Enabled());
            const std::string key = child->Key();
            auto bar = m_bar;
            connect(action, &QAction::triggered, this,
                    [bar, key] { CallModel([&] { bar->Click(key); }); });
        }
    }

    void RebuildTopLevel()
    {
        // Rebuilt only when the menus themselves changed, so that an open menu stays.
        std::vector<std::pair<std::shared_ptr<pf::MenuItem>, std::string>> shown;
        for (const auto& top : m_bar->Items().TopLevel())
            if (top->Visible())
                shown.emplace_back(top, top->Caption());
        if (shown == m_topShown)
            return;
        m_topShown = std::move(shown);
        m_menuBar->clear();
        for (const auto& top : m_bar->Items().TopLevel()) {
            if (!top->Visible())
                continue;
            QMenu* menu = m_menuBar->addMenu(ToQ(top->Caption()));
            menu->setObjectName(ToQ(top->Key()));
            menu->setEnabled(top->Enabled());
            // The add-in enables and hides items without telling the bar: the menu is
            // filled from the model each time it opens.
            connect(menu, &QMenu::aboutToShow, this, [this, menu, top] { Fill(menu, top); });
            Fill(menu, top);
        }
    }

    void ShowPopup()
    {
        const auto& popup = m_bar->OpenPopup();
        if (!popup) {
            if (m_popup)
                m_popup->close();
            return;
        }
        if (m_popup && m_popup->isVisible())
            return;
        m_popup = new QMenu(m_menuBar);
        m_popup->setAttribute(Qt::WA_DeleteOnClose);
        m_popup->setObjectName(ToQ(popup->Key()));
        Fill(m_popup, popup);
        // A menu closed without a choice closes the model's pop-up too; a choice arrives
        // after the menu hid, so the close waits a turn of the loop.
        auto bar = m_bar;
        connect(m_popup, &QMenu::aboutToHide, this, [bar, popup] {
            QTimer::singleShot(0, [bar, popup] {
                if (bar->OpenPopup() == popup)
                    bar->ClosePopup();
            });
        });
        m_popup->popup(QPoint(m_bar->PopupX(), m_bar->PopupY()));
    }

    std::shared_ptr<pf::MenuBar> m_bar;
    QMenuBar* m_menuBar;
    QPointer<QMenu> m_popup;
    std::vector<std::pair<std::shared_ptr<pf::MenuItem>, std::string>> m_topShown;
};

} // namespace

ControlBinding* BindMenuBar(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    auto bar = std::dynamic_pointer_cast<pf::MenuBar>(control);
    if (!bar)
        return nullptr;
    return new MenuBarBinding(bar, new QMenuBar(parent));
}

} // namespace gui
