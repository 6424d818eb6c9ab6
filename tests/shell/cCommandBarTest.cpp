#include "ShellFixture.h"

#include "common/Options.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/Driver.h"
#include "platform/forms/ImageList.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/Inspector.h"
#include "platform/runtime/Variant.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryValue.h"
#include "shell/Application.h"
#include "shell/Connect.h"
#include "shell/cCommandBar.h"
#include "shell/cExplorer.h"
#include "shell/cExplorers.h"

#include <gtest/gtest.h>

namespace {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
namespace win = platform::win;
using common::modMain::G;
using namespace std::string_literals;

// A placement text as the toolbar stores it: the parts joined by NUL characters.
std::string Placement(std::initializer_list<std::string> vParts)
{
    std::string s;
    for (const auto& sPart : vParts)
        s += (s.empty() ? "" : "\0"s) + sPart;
    return s;
}

void StorePlacement(const std::string& sValueName, const std::string& sText)
{
    win::Registry().write(win::Hive::CurrentUser, common::modMain::GetSettingsKeyPath(), sValueName,
                          win::RegistryValue::binary(win::RegistryValue::text(sText).asBytes()));
}

std::string StoredPlacement(const std::string& sValueName)
{
    const auto oValue = win::Registry().read(win::Hive::CurrentUser,
                                             common::modMain::GetSettingsKeyPath(), sValueName);
    return oValue ? oValue->asText() : "<none>";
}

std::string PictureKey(const std::shared_ptr<rt::Object>& oPicture)
{
    auto* p = dynamic_cast<platform::forms::ListImage*>(oPicture.get());
    return p ? p->Key() : "<none>";
}

class cCommandBarTest : public ShellFixture
{
protected:
    void TearDown() override
    {
        Disconnect();
        ShellFixture::TearDown();
    }
    // Connects the add-in to a client of that version with one explorer, lets `prepare`
    // work on the explorer's bars and the settings, then runs the start-up, which wraps the
    // explorer and gives it its toolbar.
    void Start(const std::string& sVersion, bool bShowBar, long lLanguage = 1033,
               const std::function<void(ol::CommandBars&)>& prepare = {})
    {
        // Toolbars are numbered from 1 on in every run of the client.
        G().g_lControlCounter = 0;
        oHost = std::make_shared<ol::Application>(sVersion);
        oHost->Explorers()->Add();
        if (prepare)
            prepare(*Bars());
        oAddIn.reset(TallymanCreateAddIn());
        rt::Variant custom;
        oAddIn->OnConnection(oHost, 0, rt::Variant(), custom);
        common::modLanguage::SetLanguageID(lLanguage);
        G().g_oApplication->AddinOptions()->SetShowExplorerCommandbar(bShowBar);
        G().g_oApplication->OnStartTimer();
    }
    void Disconnect()
    {
        rt::Variant custom;
        if (oAddIn)
            oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
    }
    std::shared_ptr<ol::CommandBars> Bars() const
    {
        return oHost->Explorers()->Item(1)->CommandBars();
    }
    std::shared_ptr<ol::CommandBar> OnlyBar() const
    {
        EXPECT_EQ(Bars()->Count(), 1);
        return Bars()->Count() ? Bars()->Bars().front() : nullptr;
    }

    std::shared_ptr<ol::Application> oHost;
    std::unique_ptr<ol::IAddIn> oAddIn;
};

TEST_F(cCommandBarTest, FirstToolbarCarriesOneReportButtonByVersionAndLanguage)
{
    struct Case
    {
        const char* sVersion;
        long lLanguage;
        bool bShow;
        const char* sCaption;
        int nStyle;
        const char* sPicture;
        const char* sMask;
    };
    const Case vCases[] = {
        {"11.0.0.0", 1033, true, "Reports", 1, "101", "102"},
        {"11.0.0.0", 1031, false, "Berichte", 1, "101", "102"},
        {"12.0.0.0", 1033, true, "Reports", 1, "101", "102"},
        {"9.0.0.0", 1033, true, "Reports", 2, "<none>", "<none>"},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.sVersion + std::string(" ") + std::to_string(c.lLanguage));
        Start(c.sVersion, c.bShow, c.lLanguage);
        auto oBar = OnlyBar();
        ASSERT_NE(oBar, nullptr);
        EXPECT_EQ(oBar->Name(), "Reporting Tools1");
        EXPECT_EQ(oBar->Position, 1);
        EXPECT_EQ(oBar->Visible, c.bShow);
        EXPECT_TRUE(oBar->Temporary);
        ASSERT_EQ(oBar->Controls().Count(), 1);
        auto oButton = oBar->Controls().Item(1);
        EXPECT_EQ(oButton->Caption, c.sCaption);
        EXPECT_EQ(oButton->Tag, "Reporting Tools1_Grellick");
        EXPECT_EQ(oButton->Parameter, "Reporting Tools1_Grellick");
        EXPECT_EQ(oButton->Style, c.nStyle);
        EXPECT_TRUE(oButton->Visible);
        EXPECT_TRUE(oButton->Temporary);
        EXPECT_EQ(PictureKey(oButton->Picture), c.sPicture);
        EXPECT_EQ(PictureKey(oButton->Mask), c.sMask);
        Disconnect();
        EXPECT_EQ(Bars()->Count(), 0);
    }
}

TEST_F(cCommandBarTest, StoredPlacementIsAppliedOnlyWhenItHasThreeParts)
{
    struct Case
    {
        std::string sStored;
        int nPosition, nLeft, nRow;
    };
    const Case vCases[] = {
        {Placement({"4", "300", "0"}), 4, 300, 0},
        {Placement({"4", "300"}), 1, 0, 0},
        {Placement({"4", "300", "0", "7"}), 1, 0, 0},
        {Placement({"4", "links", "2"}), 4, 0, 2},
        {"", 1, 0, 0},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.sStored);
        StorePlacement("e_Commandbar", c.sStored);
        Start("11.0.0.0", true);
        auto oBar = OnlyBar();
        ASSERT_NE(oBar, nullptr);
        EXPECT_EQ(oBar->Position, c.nPosition);
        EXPECT_EQ(oBar->Left, c.nLeft);
        EXPECT_EQ(oBar->RowIndex, c.nRow);
        Disconnect();
    }
}

TEST_F(cCommandBarTest, ClosingStoresThePlacementAndTheNextRunRestoresIt)
{
    Start("11.0.0.0", true);
    auto oBar = OnlyBar();
    ASSERT_NE(oBar, nullptr);
    oBar->Position = 3;
    oBar->Left = 120;
    oBar->RowIndex = 2;
    Disconnect();
    EXPECT_EQ(StoredPlacement("e_Commandbar"), Placement({"3", "120", "2"}));
    EXPECT_EQ(Bars()->Count(), 0);

    Start("11.0.0.0", true);
    oBar = OnlyBar();
    ASSERT_NE(oBar, nullptr);
    EXPECT_EQ(oBar->Position, 3);
    EXPECT_EQ(oBar->Left, 120);
    EXPECT_EQ(oBar->RowIndex, 2);
}

TEST_F(cCommandBarTest, SwitchingTheAddInOffDeletesButtonAndBar)
{
    Start("11.0.0.0", true);
    auto oBar = OnlyBar();
    ASSERT_NE(oBar, nullptr);
    auto oButton = oBar->Controls().Item(1);
    rt::Variant custom;
    oAddIn->OnDisconnection(1, custom);
    oAddIn.reset();
    EXPECT_EQ(Bars()->Count(), 0);
    EXPECT_EQ(oBar->Controls().Count(), 0);
    EXPECT_EQ(oButton->Parent(), nullptr);
    EXPECT_EQ(StoredPlacement("e_Commandbar"), Placement({"1", "0", "0"}));
}

TEST_F(cCommandBarTest, BarOfAnEarlierRunIsAdoptedWithItsButton)
{
    StorePlacement("e_Commandbar", Placement({"4", "300", "0"}));
    for (const bool bWithButton : {true, false}) {
        SCOPED_TRACE(bWithButton);
        Start("11.0.0.0", false, 1033, [&](ol::CommandBars& oBars) {
            auto oOld = oBars.Add("Reporting Tools7", 2, false, true);
            oOld->Left = 50;
            if (bWithButton) {
                auto oButton = oOld->Controls().Add(1, 0, "Reporting Tools7_Grellick");
                oButton->Tag = "Reporting Tools7_Grellick";
                oButton->Caption = "Old";
                oButton->Style = 3;
            }
        });
        auto oBar = OnlyBar();
        ASSERT_NE(oBar, nullptr);
        EXPECT_EQ(oBar->Name(), "Reporting Tools7");
        EXPECT_EQ(oBar->Position, 2); // no placement restored
        EXPECT_EQ(oBar->Left, 50);
        EXPECT_FALSE(oBar->Visible);
        ASSERT_EQ(oBar->Controls().Count(), 1);
        auto oButton = oBar->Controls().Item(1);
        EXPECT_EQ(oButton->Caption, bWithButton ? "Old" : "Reports");
        EXPECT_EQ(oButton->Style, bWithButton ? 3 : 1);
        EXPECT_EQ(oButton->Picture == nullptr, bWithButton);
        Disconnect();
        StorePlacement("e_Commandbar", Placement({"4", "300", "0"}));
    }
}

// The toolbar made directly on bars that no explorer owns.
class cCommandBarOwnerTest : public cCommandBarTest
{
};

TEST_F(cCommandBarOwnerTest, BarsOfOtherWindowsStayHidden)
{
    Start("11.0.0.0", true);
    auto oInspector = std::make_shared<ol::Inspector>();
    auto oInspectorBars = oInspector->CommandBars();
    shell::cCommandBar oOnInspector;
    auto oBar = oOnInspector.CreateBar(oInspectorBars);
    ASSERT_NE(oBar, nullptr);
    EXPECT_FALSE(oBar->Visible);
    EXPECT_EQ(oBar->Controls().Count(), 1);

    ol::CommandBars oOrphanBars(nullptr);
    auto oOld = oOrphanBars.Add("Reporting Tools99", 1, false, true);
    auto oForeign = oOrphanBars.Add("Other", 1, false, true);
    shell::cCommandBar oOrphan;
    auto oNew = oOrphan.CreateBar(std::shared_ptr<ol::CommandBars>(&oOrphanBars, [](auto*) {}));
    ASSERT_NE(oNew, nullptr);
    EXPECT_NE(oNew->Name(), "Reporting Tools99");
    EXPECT_FALSE(oNew->Visible);
    EXPECT_FALSE(oOld->Visible);
    EXPECT_TRUE(oForeign->Visible);
    // Neither toolbar belongs to an explorer: both keep their placement under "i_".
    oOrphan.Close(nullptr);
    EXPECT_EQ(StoredPlacement("i_Commandbar"), Placement({"1", "0", "0"}));
    EXPECT_EQ(oOrphanBars.Count(), 2);
}

TEST_F(cCommandBarOwnerTest, ClickFailureIsLoggedAndShownAndTheButtonStaysUsable)
{
    ol::CommandBars oBars(nullptr);
    auto oButton = [&] {
        shell::cCommandBar oToolbar;
        oToolbar.CreateBar(std::shared_ptr<ol::CommandBars>(&oBars, [](auto*) {}));
        auto o = oBars.Bars().front()->Controls().Item(1);
        // No add-in is connected: the click cannot open the report window.
        o->Click();
        o->Click();
        return o;
    }();
    const auto& vBoxes = platform::forms::Driver::current().MessageBoxes();
    ASSERT_EQ(vBoxes.size(), 2U);
    EXPECT_EQ(vBoxes[0].buttons, 48);
    EXPECT_EQ(vBoxes[0].title, "Tallyman");
    EXPECT_NE(ErrorLog().find("cbbControl_Click"), std::string::npos);
    // The toolbar object is gone: the button no longer reaches it.
    oButton->Click();
    EXPECT_EQ(vBoxes.size(), 2U);
}

} // namespace
