#include "platform/outlook/Explorers.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Inspector.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::outlook;
namespace runtime = platform::runtime;

TEST(ExplorersTest, NewExplorersAreAnnouncedAndClosedOnesLeaveTheList)
{
    Application oApp("16.0");
    auto oExplorers = oApp.Explorers();
    EXPECT_EQ(oExplorers, oApp.Explorers());
    std::vector<Explorer*> vAnnounced;
    const int id = oExplorers->OnNewExplorer(
        [&](const std::shared_ptr<Explorer>& e) { vAnnounced.push_back(e.get()); });
    auto oFirst = oExplorers->Add();
    auto oSecond = oExplorers->Add();
    EXPECT_EQ(vAnnounced, (std::vector<Explorer*>{oFirst.get(), oSecond.get()}));
    EXPECT_EQ(oExplorers->Count(), 2);
    EXPECT_EQ(oExplorers->Item(2), oSecond);
    EXPECT_THROW(oExplorers->Item(3), platform::runtime::Error);

    int nCountSeenAtClose = -1;
    oFirst->OnClose([&] { nCountSeenAtClose = oExplorers->Count(); });
    int nActivations = 0;
    oFirst->OnActivate([&] { ++nActivations; });
    oFirst->Activate();
    oFirst->Close();
    oFirst->Close();    // once only
    oFirst->Activate(); // a closed window is not activated
    EXPECT_EQ(nCountSeenAtClose, 1);
    EXPECT_EQ(nActivations, 1);
    EXPECT_EQ(oExplorers->Item(1), oSecond);
    oExplorers->DisconnectNewExplorer(id);
    oExplorers->Add();
    EXPECT_EQ(vAnnounced.size(), 2u);
}

TEST(ExplorersTest, CloseHandlerMayDropTheLastReference)
{
    Application oApp("16.0");
    std::shared_ptr<Explorer> oHeld = oApp.Explorers()->Add();
    bool bClosed = false;
    oHeld->OnClose([&] {
        oHeld.reset(); // the explorer stays alive until its Close returns
        bClosed = true;
    });
    Explorer* pRaw = oHeld.get();
    pRaw->Close();
    EXPECT_TRUE(bClosed);
    EXPECT_EQ(oApp.Explorers()->Count(), 0);
}

TEST(ExplorersTest, CommandBarsHoldBarsAndButtons)
{
    Application oApp("11.0");
    auto oExplorer = oApp.Explorers()->Add();
    auto oBars = oExplorer->CommandBars();
    EXPECT_EQ(oBars->Parent(), oExplorer.get());
    auto oBar = oBars->Add("Reporting Tools1", 1, false, true);
    EXPECT_THROW(oBars->Add("reporting tools1"), platform::runtime::Error);
    EXPECT_EQ(oBars->Item("REPORTING TOOLS1"), oBar);
    EXPECT_THROW(oBars->Item("missing"), platform::runtime::Error);

    auto oButton = oBar->Controls().Add(1, 0, "Grellick", 0, true);
    oButton->Tag = "Grellick";
    auto oFirst = oBar->Controls().Add(1, 0, {}, 1);
    EXPECT_EQ(oBar->Controls().Item(1), oFirst);
    EXPECT_EQ(oBar->FindControl("Grellick"), oButton);
    EXPECT_EQ(oBar->FindControl("none"), nullptr);
    EXPECT_THROW(oBar->Controls().Add(2), platform::runtime::Error);

    int nClicks = 0;
    oButton->OnClick([&](CommandBarButton& b, bool&) {
        EXPECT_EQ(&b, oButton.get());
        ++nClicks;
    });
    oButton->Click();
    oButton->Enabled = false;
    oButton->Click();
    EXPECT_EQ(nClicks, 1);
    oButton->Delete();
    EXPECT_EQ(oBar->Controls().Count(), 1);
    EXPECT_EQ(oButton->Parent(), nullptr);

    int nUpdates = 0;
    oBars->OnUpdate([&] { ++nUpdates; });
    oBars->UserSetVisible("Reporting Tools1", false);
    EXPECT_FALSE(oBar->Visible);
    EXPECT_EQ(nUpdates, 1);
    oBar->Delete();
    EXPECT_EQ(oBars->Count(), 0);
}

TEST(InspectorTest, CommandBarsTellTheirWindowKind)
{
    Explorer oExplorer;
    Inspector oWordMail(nullptr, true);
    Inspector oPlain;
    struct Case
    {
        runtime::Object* pOwner;
        std::shared_ptr<CommandBars> oBars;
        bool bInspector;
    };
    const std::vector<Case> vCases = {{&oExplorer, oExplorer.CommandBars(), false},
                                      {&oWordMail, oWordMail.CommandBars(), true},
                                      {&oPlain, oPlain.CommandBars(), true}};
    for (const auto& c : vCases) {
        EXPECT_EQ(c.oBars->Parent(), c.pOwner);
        EXPECT_EQ(dynamic_cast<Inspector*>(c.oBars->Parent()) != nullptr, c.bInspector);
        EXPECT_EQ(dynamic_cast<Explorer*>(c.oBars->Parent()) != nullptr, !c.bInspector);
    }
    EXPECT_EQ(oWordMail.CommandBars(), oWordMail.CommandBars());
    EXPECT_TRUE(oWordMail.IsWordMail());
    EXPECT_FALSE(oPlain.IsWordMail());
    EXPECT_EQ(oPlain.CurrentItem(), nullptr);
    EXPECT_EQ(oPlain.TypeName(), "Inspector");
}

} // namespace
