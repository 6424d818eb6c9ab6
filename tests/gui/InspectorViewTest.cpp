#include "GuiFixture.h"

#include "gui/InspectorView.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Inspector.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QToolBar>

#include <memory>
#include <string>
#include <vector>

namespace {

namespace ol = platform::outlook;
using guitest::GuiFixture;

using InspectorViewTest = GuiFixture;

// The actions the window's tool bar of that name offers, by caption.
std::vector<QAction*> ActionsOf(gui::InspectorView& view, const char* bar)
{
    std::vector<QAction*> actions;
    for (QToolBar* toolBar : view.findChildren<QToolBar*>(QString::fromUtf8(bar)))
        if (!toolBar->isHidden())
            for (QAction* action : toolBar->actions())
                if (!action->isSeparator())
                    actions.push_back(action);
    return actions;
}

TEST_F(InspectorViewTest, ShowsTheBarsOfTheItemWindowAndPassesTheirClicksOn)
{
    auto oInspector = std::make_shared<ol::Inspector>();
    oInspector->Caption = "Besprechung Größe";
    auto oBar = oInspector->CommandBars()->Add("Tallyman");
    auto oButton = oBar->Controls().Add();
    oButton->Caption = "Kategorien";
    oButton->Tag = "cat";
    auto oHidden = oBar->Controls().Add();
    oHidden->Caption = "Hidden";
    oHidden->Visible = false;
    auto oOff = oBar->Controls().Add();
    oOff->Caption = "Off";
    oOff->Enabled = false;
    std::vector<std::string> vClicks;
    oButton->OnClick([&](ol::CommandBarButton& o, bool&) { vClicks.push_back(o.Tag); });
    QString sText = QStringLiteral("Subject: Besprechung Größe");

    gui::InspectorView view(oInspector, [&] { return sText; });
    view.show();
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Besprechung Größe"));
    EXPECT_EQ(view.Text(), sText);
    auto vActions = ActionsOf(view, "Tallyman");
    ASSERT_EQ(vActions.size(), 2U);
    EXPECT_EQ(vActions[0]->text(), QStringLiteral("Kategorien"));
    EXPECT_TRUE(vActions[0]->isEnabled());
    EXPECT_FALSE(vActions[1]->isEnabled());
    vActions[0]->trigger();
    EXPECT_EQ(vClicks, std::vector<std::string>{"cat"});

    // The add-in adds a bar and changes the item after the window opened.
    auto oMore = oInspector->CommandBars()->Add("More");
    oMore->Controls().Add()->Caption = "Drucken";
    sText = QStringLiteral("Subject: Besprechung Größe\nCategories: Projekt");
    view.Pull();
    EXPECT_EQ(view.Text(), sText);
    ASSERT_EQ(ActionsOf(view, "More").size(), 1U);
    EXPECT_EQ(ActionsOf(view, "More")[0]->text(), QStringLiteral("Drucken"));

    // The person hides a bar through the client: it goes from the window.
    oInspector->CommandBars()->UserSetVisible("Tallyman", false);
    QApplication::processEvents();
    EXPECT_TRUE(ActionsOf(view, "Tallyman").empty());
    EXPECT_EQ(ActionsOf(view, "More").size(), 1U);
}

TEST_F(InspectorViewTest, ABarChangedByItsOwnClickLeavesSafely)
{
    auto oInspector = std::make_shared<ol::Inspector>();
    auto oBar = oInspector->CommandBars()->Add("Tallyman");
    auto oButton = oBar->Controls().Add();
    oButton->Caption = "Hide";
    oButton->OnClick([&](ol::CommandBarButton&, bool&) {
        oInspector->CommandBars()->UserSetVisible("Tallyman", false);
    });
    {
        gui::InspectorView view(oInspector, {});
        view.show();
        ActionsOf(view, "Tallyman").at(0)->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(ActionsOf(view, "Tallyman").empty());
        EXPECT_TRUE(view.Text().isEmpty());
    }
    // The closed window no longer listens to the bars.
    oInspector->CommandBars()->UserSetVisible("Tallyman", true);
    EXPECT_TRUE(oBar->Visible);
}

} // namespace
