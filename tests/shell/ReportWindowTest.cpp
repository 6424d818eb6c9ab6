#include "ReportWindowFixture.h"

#include "common/modLabelControls.h"
#include "common/modLanguage.h"
#include "dialogs/frmTemplate.h"
#include "engine/Records.h"
#include "platform/mapi/Message.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace {

using namespace shell_test;

TEST_F(ReportWindowTest, ClickOpensStandardThenTemplateTotalsMatchTheStore)
{
    ClickReportButton();
    ASSERT_TRUE(G().g_oApplication->MainForm()) << ErrorLog();
    ASSERT_TRUE(Window().Records()) << ErrorLog();
    auto& oWindow = Window();
    EXPECT_TRUE(oWindow.IsLoaded());
    EXPECT_TRUE(oWindow.Visible());
    EXPECT_EQ(oWindow.cboTemplate().Text(), "(Standard)");
    EXPECT_EQ(oWindow.cboTemplate().ListCount(), 4);
    EXPECT_GT(Grid().Rows(), Grid().FixedRows());
    EXPECT_EQ(oWindow.ProgressWindow(), nullptr);
    EXPECT_GT(oWindow.LastProgress().second, 0);

    oWindow.cboTemplate().SetText(kTasks);
    ASSERT_EQ(oWindow.GetViewSettings()->Name(), kTasks);
    ExpectGridMatchesStore();
    // The template counts its items: each group's total row names its count.
    auto& fg = Grid();
    const std::regex oCount(R"(\((\d+) [^()]+\)$)");
    int nGroups = 0;
    int nCounted = 0;
    for (int r = fg.FixedRows(); r < fg.Rows(); ++r) {
        if (!fg.IsSubtotal(r) || fg.RowOutlineLevel(r) == 0)
            continue;
        ++nGroups;
        for (int c = 0; c < fg.Cols(); ++c) {
            std::smatch m;
            const std::string sText = fg.TextMatrix(r, c);
            if (std::regex_search(sText, m, oCount)) {
                nCounted += std::stoi(m[1]);
                break;
            }
        }
    }
    EXPECT_GT(nGroups, 1);
    EXPECT_EQ(nCounted, StoreSums(*oWindow.GetViewSettings()).items);

    oWindow.CommandbarClick("refresh");
    ExpectGridMatchesStore();
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ReportWindowTest, DeletingTheShownTemplateInTheManagerShowsAndReadsStandard)
{
    ClickReportButton();
    auto& oWindow = Window();
    ASSERT_TRUE(oWindow.Records()) << ErrorLog();
    const int nStandard = oWindow.Records()->Count();
    oWindow.cboTemplate().SetText(kTasks);
    ASSERT_NE(oWindow.Records()->Count(), nStandard);
    auto& oDriver = platform::forms::Driver::current();
    oDriver.Reset();
    oDriver.QueueModal("frmTemplate", [&](platform::forms::Form& oForm) {
        auto& oManager = dynamic_cast<dialogs::frmTemplate&>(oForm);
        auto& fg = oManager.fg();
        for (int r = 0; r < fg.Rows(); ++r)
            if (fg.TextMatrix(r, 0) == kTasks)
                fg.UserClick(r, 0, 0);
        oDriver.QueueMsgBoxAnswer(platform::forms::vbYes);
        oManager.cmdRemove().Click();
        oManager.cmdClose().Click();
    });
    oWindow.CommandbarClick("templates");
    EXPECT_EQ(oDriver.MessageBoxes().size(), 1u);
    EXPECT_EQ(oWindow.cboTemplate().ListCount(), 3);
    EXPECT_EQ(oWindow.cboTemplate().Text(), "(Standard)");
    ASSERT_EQ(oWindow.GetViewSettings()->Name(), "(Standard)");
    ASSERT_TRUE(oWindow.Records());
    EXPECT_EQ(oWindow.Records()->Count(), nStandard);
}

TEST_F(ReportWindowTest, UserCloseSavesWidthsByKeyTemplatesAndLastTemplate)
{
    ClickReportButton();
    auto& oWindow = Window();
    oWindow.cboTemplate().SetText(kTasks);
    auto& fg = Grid();
    const int c = fg.ColIndex(kTotalWork);
    ASSERT_GT(c, 0);
    // Two columns with one caption: the width still reaches the column it belongs to.
    fg.SetTextMatrix(0, c, fg.TextMatrix(0, 1));
    fg.SetColWidth(c, 2345);
    ASSERT_TRUE(oWindow.UserClose());
    EXPECT_FALSE(oWindow.IsLoaded());
    EXPECT_EQ(oWindow.Fenwick(), nullptr);

    const std::string sKeyPath = common::modMain::GetSettingsKeyPath();
    EXPECT_EQ(common::FormPersitent::ReadText(kCurrentUser, sKeyPath, "LastTemplate"), kTasks);
    EXPECT_NE(common::FormPersitent::ReadText(kCurrentUser, sKeyPath, "frmMain"), "");
    // The window took its catalogue with it: the saved templates are read with another.
    auto oCatalogue = std::make_shared<fieldcatalogue::Application>();
    views::RootMapiProps()->SetCatalogueSource([oCatalogue] { return oCatalogue; });
    views::Templates oSaved;
    oSaved.Load();
    auto oView = oSaved.Item(rt::Variant(kTasks));
    ASSERT_TRUE(oView);
    EXPECT_EQ(oView->Fields()->Item(rt::Variant(kTotalWork))->Width(), 2345);
    EXPECT_NE(oView->Fields()->Item(rt::Variant(1))->Width(), 2345);

    // The next opening loads the window afresh, again with "(Standard)".
    ClickReportButton();
    EXPECT_TRUE(oWindow.IsLoaded());
    EXPECT_EQ(oWindow.cboTemplate().Text(), "(Standard)");
}

TEST_F(ReportWindowTest, CloseByCodeSavesNothing)
{
    ClickReportButton();
    Window().cboTemplate().SetText(kTasks);
    rt::Variant custom;
    oAddIn->OnDisconnection(0, custom);
    oAddIn.reset();
    const std::string sKeyPath = common::modMain::GetSettingsKeyPath();
    EXPECT_EQ(common::FormPersitent::ReadText(kCurrentUser, sKeyPath, "LastTemplate"), "");
}

TEST_F(ReportWindowTest, ActionsArrivingDuringAReadWaitForItsEnd)
{
    ClickReportButton();
    auto& oWindow = Window();
    auto& oLoop = platform::win::MessageLoop::main();
    struct Case
    {
        std::string name;
        std::function<void()> action;
        std::function<void()> check;
    };
    bool bReadingSeen = false;
    const std::vector<Case> cases = {
        {"template change",
         [&] {
             bReadingSeen = oWindow.IsReading();
             oWindow.cboTemplate().SetText(kTasks);
         },
         [&] {
             EXPECT_EQ(oWindow.GetViewSettings()->Name(), kTasks);
             ExpectGridMatchesStore();
         }},
        {"command",
         [&] {
             bReadingSeen = oWindow.IsReading();
             oWindow.CommandbarClick("refresh");
         },
         [&] { ExpectGridMatchesStore(); }},
        {"close",
         [&] {
             bReadingSeen = oWindow.IsReading();
             oWindow.UserClose();
         },
         [&] {
             EXPECT_FALSE(oWindow.IsLoaded());
             EXPECT_EQ(common::FormPersitent::ReadText(
                           kCurrentUser, common::modMain::GetSettingsKeyPath(), "LastTemplate"),
                       kTasks);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bReadingSeen = false;
        oLoop.post(c.action);
        oWindow.CommandbarClick("refresh");
        EXPECT_TRUE(bReadingSeen);
        c.check();
    }
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());
}

TEST_F(ReportWindowTest, ShutdownDuringAReadSavesNothingAndReleasesTheWindowAfterIt)
{
    ClickReportButton();
    std::weak_ptr<shell::frmMain> wWindow = G().g_oApplication->MainForm();
    bool bReadingSeen = false;
    platform::win::MessageLoop::main().post([&] {
        bReadingSeen = wWindow.lock()->IsReading();
        rt::Variant custom;
        oAddIn->OnDisconnection(0, custom);
    });
    // Called as the client's message loop calls it: nobody but the add-in holds the window.
    shell::frmMain* pWindow = wWindow.lock().get();
    pWindow->CommandbarClick("refresh");
    EXPECT_TRUE(bReadingSeen);
    EXPECT_TRUE(wWindow.expired());
    EXPECT_EQ(common::FormPersitent::ReadText(kCurrentUser, common::modMain::GetSettingsKeyPath(),
                                              "LastTemplate"),
              "");
}

TEST_F(ReportWindowTest, ATemplateThatCannotBeReadIsLeftForAnotherThatReads)
{
    // A column width that is no number: the template fails to load whenever it is used.
    const std::string sFile = views::Templates::FilePath();
    std::string sXml;
    {
        std::ifstream oIn(sFile, std::ios::binary);
        sXml.assign(std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>());
    }
    const auto nAt = sXml.find("<Width>", sXml.find("<Name>Projektzeiten</Name>")) + 7;
    ASSERT_GT(nAt, 7u);
    sXml.replace(nAt, sXml.find("</Width>", nAt) - nAt, "abc");
    std::ofstream(sFile, std::ios::binary) << sXml;

    ClickReportButton();
    auto& oWindow = Window();
    oWindow.cboTemplate().SetText("Projektzeiten");
    EXPECT_EQ(oWindow.GetViewSettings()->Name(), "Projektzeiten");
    ASSERT_FALSE(platform::forms::Driver::current().MessageBoxes().empty());
    // The fixture runs in German, and so does the runtime's message.
    EXPECT_EQ(platform::forms::Driver::current().MessageBoxes().back().prompt,
              "Typen unverträglich");

    oWindow.cboTemplate().SetText(kTasks);
    ASSERT_EQ(oWindow.GetViewSettings()->Name(), kTasks);
    ExpectGridMatchesStore();
}

TEST_F(ReportWindowTest, StandardIsAddedToTemplatesWithoutIt)
{
    views::Templates oTemplates;
    oTemplates.Load();
    oTemplates.Remove(rt::Variant("(Standard)"));
    oTemplates.Save();
    ClickReportButton();
    auto& oWindow = Window();
    EXPECT_EQ(oWindow.cboTemplate().Text(), "(Standard)");
    ASSERT_TRUE(oWindow.GetViewSettings());
    EXPECT_EQ(oWindow.GetViewSettings()->Name(), "(Standard)");
    EXPECT_EQ(oWindow.cboTemplate().ListCount(), 4);
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());
}

TEST_F(ReportWindowTest, WindowKeepsItsMinimumSizeAndNormalPlacement)
{
    ClickReportButton();
    auto& oWindow = Window();
    oWindow.SetWidth(12000);
    oWindow.SetHeight(7000);
    oWindow.SetWidth(1000);
    oWindow.SetHeight(500);
    EXPECT_EQ(oWindow.Width(), 8880);
    EXPECT_EQ(oWindow.Height(), 3000);
    oWindow.SetWindowState(platform::forms::WindowState::Minimized);
    oWindow.SetWidth(100);
    EXPECT_EQ(oWindow.Width(), 100);
    oWindow.SetWindowState(platform::forms::WindowState::Normal);
    EXPECT_EQ(oWindow.Width(), 8880);
    EXPECT_TRUE(oWindow.UserClose());
    // The placement stored is the normal window's, not the minimised one's.
    EXPECT_NE(common::FormPersitent::ReadText(kCurrentUser, common::modMain::GetSettingsKeyPath(),
                                              "frmMain")
                  .find("8880"),
              std::string::npos);
}

TEST_F(ReportWindowTest, ProgressWindowFollowsTheRead)
{
    ClickReportButton();
    auto& oWindow = Window();
    std::string sText;
    std::string sNumber;
    // Looks at the progress window from the message loop, as the user sees it mid-read.
    std::function<void()> fnLook = [&] {
        const auto& oProgress = oWindow.ProgressWindow();
        if (!oProgress || oProgress->lbl(2).Caption().empty()) {
            if (oWindow.IsReading())
                platform::win::MessageLoop::main().post(fnLook);
            return;
        }
        sText = oProgress->lbl(0).Caption();
        sNumber = oProgress->lbl(2).Caption();
    };
    platform::win::MessageLoop::main().post(fnLook);
    oWindow.CommandbarClick("refresh");
    EXPECT_EQ(sText, "Reading folder items...");
    EXPECT_EQ(sNumber, std::to_string(oWindow.LastProgress().second));
    EXPECT_EQ(oWindow.ProgressWindow(), nullptr);

    struct Case
    {
        long lLanguage;
        std::string sTag;
        std::string sText;
    };
    for (const auto& c : std::vector<Case>{{1031, "2001", "Lese Ordnerinhalte..."},
                                           {1033, "2001", "Reading folder items..."},
                                           {1033, "x", ""},
                                           {1033, "2002", ""}}) {
        G().g_oApplication->SetLanguageID(c.lLanguage);
        EXPECT_EQ(shell::frmProgress::GetResource(c.sTag), c.sText) << c.sTag;
    }
    shell::frmProgress oProgress;
    oProgress.Load();
    oProgress.Init();
    // Empty until the read gives its first number: the value stands at the bar's lower end,
    // below its upper one.
    EXPECT_EQ(oProgress.PBar().Value(), oProgress.PBar().Min());
    EXPECT_LT(oProgress.PBar().Value(), oProgress.PBar().Max());
    oProgress.Update(1, 120);
    EXPECT_EQ(oProgress.PBar().Value(), 1);
    oProgress.Update(5, 120);
    EXPECT_EQ(oProgress.lbl(2).Caption(), "120");
    EXPECT_EQ(oProgress.PBar().Value(), 5);
    EXPECT_EQ(oProgress.PBar().Max(), 120);
}

TEST_F(ReportWindowTest, MenusAndToolbarAreBuiltInOrderInTheLanguage)
{
    ClickReportButton();
    auto& oItems = Window().MenuBar1().Items();
    std::vector<std::string> aTop;
    for (const auto& o : oItems.TopLevel())
        aTop.push_back(o->Key() + "=" + o->Caption());
    EXPECT_EQ(aTop, (std::vector<std::string>{"mnuFile=&Report", "mnuView=&View", "mnuTools=&Tools",
                                              "mnuHelp=&Help"}));
    std::vector<std::string> aFile;
    for (const auto& o : oItems.Item("mnuFile")->Children())
        aFile.push_back(o->IsSeparator() ? "-" : o->Key());
    EXPECT_EQ(aFile,
              (std::vector<std::string>{"select", "remove_folder", "-", "saveas", "openreport",
                                        "sendreport", "print", "-", "deletereport", "-", "exit"}));
    EXPECT_TRUE(oItems.Item("refresh")->Picture());
    EXPECT_FALSE(oItems.Item("expand")->Picture());
    std::vector<std::string> aContext;
    for (const auto& o : oItems.Item("ContextOlItems")->Children())
        aContext.push_back(o->IsSeparator() ? "-" : o->Caption());
    EXPECT_EQ(aContext, (std::vector<std::string>{"Open", "-", "Expand all g&roups",
                                                  "Co&llapse all groups", "-", "Cancel"}));
    std::vector<std::string> aButtons;
    for (const auto& o : Window().Coolbar1().Buttons())
        aButtons.push_back(o->Key().empty() ? "-" : o->Key() + ":" + o->ToolTipText());
    EXPECT_EQ(aButtons, (std::vector<std::string>{
                            "select:Select Outlook folder", "-", "saveas:Save report as file",
                            "openreport:Open report file", "sendreport:Send report as e-mail",
                            "print:Print report", "-", "setview:Customize view", "-",
                            "refresh:Refresh view"}));
    // Records were read: the commands on them are enabled; no report file yet to delete.
    EXPECT_TRUE(oItems.Item("saveas")->Enabled());
    EXPECT_TRUE(Window().Coolbar1().Button("print")->Enabled());
    EXPECT_FALSE(oItems.Item("deletereport")->Enabled());
}

TEST_F(ReportWindowTest, TheFindButtonTakesItsTextsFromTheStringTableInEitherLanguage)
{
    // The caption comes through the button's tag with the form's other captions, the tooltip
    // from the string table; each load gives the language then current.
    struct Case
    {
        long lLanguage;
        const char* sCaption;
        const char* sToolTip;
    };
    const long lBefore = common::modLanguage::GetLanguageID();
    for (const auto& c : {Case{1031, "Suchen", "Die nächste Zeile suchen, die den Text enthält"},
                          Case{1033, "Find", "Find the next row that holds the text"}}) {
        SCOPED_TRACE(c.lLanguage);
        common::modLanguage::SetLanguageID(c.lLanguage);
        ClickReportButton();
        auto& oButton =
            dynamic_cast<platform::forms::CommandButton&>(*Window().FindControl("cmdFind"));
        const long lID = common::modLabelControls::TagNumber(oButton.Tag());
        ASSERT_NE(lID, 0) << "the button has no resource id";
        EXPECT_EQ(common::modLanguage::GetResString(lID), c.sCaption);
        EXPECT_EQ(oButton.Caption(), c.sCaption);
        EXPECT_EQ(oButton.ToolTipText(), c.sToolTip);
        ASSERT_TRUE(Window().UserClose());
    }
    common::modLanguage::SetLanguageID(lBefore);
}

TEST_F(ReportWindowTest, MenuAndToolbarClicksRunTheirCommands)
{
    ClickReportButton();
    auto& oWindow = Window();
    oWindow.cboTemplate().SetText(kTasks);
    auto& fg = Grid();
    const auto states = [&] {
        std::vector<int> a;
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
            if (fg.IsSubtotal(r) && fg.RowOutlineLevel(r) > 0)
                a.push_back(static_cast<int>(fg.IsCollapsed(r)));
        return a;
    };
    fg.SetRow(fg.FixedRows());
    const auto nGroups = states().size();
    ASSERT_GT(nGroups, 0u);
    auto& oBar = oWindow.MenuBar1();
    oBar.PopupMenu(oBar.Items().Item("ContextOlItems"), 10, 10);
    EXPECT_TRUE(oBar.Click("collapse_context"));
    EXPECT_EQ(states(), std::vector<int>(nGroups, 2));
    EXPECT_TRUE(oWindow.MenuBar1().Click("expand"));
    EXPECT_EQ(states(), std::vector<int>(nGroups, 0));
    EXPECT_TRUE(oWindow.Coolbar1().Click("refresh"));
    ExpectGridMatchesStore();
    oBar.PopupMenu(oBar.Items().Item("ContextOlItems"), 10, 10);
    EXPECT_TRUE(oBar.Click("cancel"));
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());

    // The support command shows its mail, unsent, and no message.
    std::vector<std::shared_ptr<platform::mapi::Message>> vShown;
    platform::mapi::SetDisplayHandler(
        [&](const std::shared_ptr<platform::mapi::Message>& m) { vShown.push_back(m); });
    EXPECT_TRUE(oWindow.MenuBar1().Click("support"));
    platform::mapi::SetDisplayHandler({});
    ASSERT_EQ(vShown.size(), 1u);
    EXPECT_EQ(vShown[0]->Subject(), "Tallyman Support Request");
    EXPECT_FALSE(vShown[0]->Sent());
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());

    EXPECT_TRUE(oWindow.MenuBar1().Click("print"));
    ASSERT_EQ(platform::forms::Driver::current().MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::forms::Driver::current().MessageBoxes()[0].buttons, 48);

    EXPECT_TRUE(oWindow.MenuBar1().Click("exit"));
    EXPECT_FALSE(oWindow.IsLoaded());
    EXPECT_EQ(common::FormPersitent::ReadText(kCurrentUser, common::modMain::GetSettingsKeyPath(),
                                              "LastTemplate"),
              kTasks);
    // The next opening builds the bars anew.
    ClickReportButton();
    EXPECT_TRUE(oWindow.IsLoaded());
    EXPECT_EQ(oWindow.MenuBar1().Items().TopLevel().size(), 4u);
    EXPECT_EQ(oWindow.Coolbar1().Buttons().size(), 10u);
}

} // namespace
