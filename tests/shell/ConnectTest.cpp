#include "ShellFixture.h"

#include "common/Options.h"
#include "common/modMain.h"
#include "common/modTimer.h"
#include "platform/forms/Driver.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "shell/Application.h"
#include "shell/Connect.h"
#include "shell/RibbonHandler.h"
#include "shell/cExplorers.h"
#include "shell/modRibbon.h"
#include "views/cMapiProps.h"

#include <gtest/gtest.h>

namespace {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
using common::modMain::G;

class ConnectTest : public ShellFixture
{
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        oHost = std::make_shared<ol::Application>("16.0.0.0");
        oAddIn.reset(TallymanCreateAddIn());
    }
    void TearDown() override
    {
        rt::Variant custom;
        if (oAddIn)
            oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        ShellFixture::TearDown();
    }
    void ConnectAddIn()
    {
        rt::Variant custom;
        oAddIn->OnConnection(oHost, 0, rt::Variant(), custom);
    }
    shell::Application* Root() const { return G().g_oApplication; }
    void Click(const std::string& sId)
    {
        oAddIn->InvokeCallback("RibbonButtonClick", std::make_shared<ol::IRibbonControl>(sId));
    }

    std::shared_ptr<ol::Application> oHost;
    std::unique_ptr<ol::IAddIn> oAddIn;
};

TEST_F(ConnectTest, FirstStageSetsGlobalsAndStartsTheTimerOnce)
{
    ConnectAddIn();
    shell::Application* pRoot = Root();
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(G().g_oOutlookApp, oHost);
    EXPECT_EQ(G().g_oNameSpace, oHost->GetNamespace("MAPI"));
    EXPECT_NE(shell::modRibbon::CurrentRibbonHandler(), nullptr);
    ASSERT_NE(pRoot->AddinOptions(), nullptr);
    EXPECT_EQ(pRoot->State(), shell::StartupState::TimerPending);
    EXPECT_NE(common::modTimer::TimerID(), 0);
    EXPECT_EQ(pRoot->Explorers(), nullptr);

    ConnectAddIn(); // a second connection while connected does nothing
    EXPECT_EQ(Root(), pRoot);
}

TEST_F(ConnectTest, TimerRunsTheSecondStageAndWrapsOpenExplorers)
{
    oHost->Explorers()->Add();
    oHost->Explorers()->Add();
    ConnectAddIn();
    ASSERT_TRUE(RunUntilTimerFired());
    ASSERT_EQ(Root()->State(), shell::StartupState::Running);
    ASSERT_NE(Root()->Explorers(), nullptr);
    EXPECT_EQ(Root()->Explorers()->Count(), 2);
    EXPECT_FALSE(G().g_bAddingExplorers);
    EXPECT_EQ(G().g_lReportFileVersion, -1);
    ASSERT_NE(Root()->MapiProps(), nullptr);
    EXPECT_EQ(Root()->MapiProps()->Parent(), Root());
    EXPECT_EQ(views::RootMapiProps(), Root()->MapiProps());
    oHost->Explorers()->Add(); // heard through NewExplorer
    EXPECT_EQ(Root()->Explorers()->Count(), 3);
}

TEST_F(ConnectTest, DisconnectionTearsDownAndClearsTheGlobals)
{
    rt::Variant custom;
    oAddIn->OnDisconnection(0, custom); // nothing connected: nothing happens
    ConnectAddIn();
    Root()->OnStartTimer();
    const auto oCache = Root()->MapiProps();
    ASSERT_NE(oCache, nullptr);
    oAddIn->OnDisconnection(0, custom);
    EXPECT_EQ(oCache->Parent(), nullptr);
    EXPECT_EQ(views::RootMapiProps(), nullptr);
    EXPECT_EQ(Root(), nullptr);
    EXPECT_EQ(G().g_oOutlookApp, nullptr);
    EXPECT_EQ(G().g_oNameSpace, nullptr);
    EXPECT_EQ(shell::modRibbon::CurrentRibbonHandler(), nullptr);
    EXPECT_EQ(shell::Connect::App(), nullptr);
    EXPECT_EQ(TallymanAddInLanguage(), nullptr);
    oHost->Explorers()->Add(); // no wrapper listens any more
}

TEST_F(ConnectTest, ClickBeforeTheTimerCompletesTheStartUpFirst)
{
    oHost->Explorers()->Add();
    ConnectAddIn();
    ASSERT_EQ(Root()->State(), shell::StartupState::TimerPending);
    Click("ShowReport");
    EXPECT_EQ(Root()->State(), shell::StartupState::Running);
    EXPECT_EQ(common::modTimer::TimerID(), 0);
    ASSERT_NE(Root()->Explorers(), nullptr);
    EXPECT_EQ(Root()->Explorers()->Count(), 1);
    EXPECT_TRUE(Root()->TextsLoaded());
}

TEST_F(ConnectTest, OnlyTheReportButtonDoesAnything)
{
    ConnectAddIn();
    Click("SomethingElse");
    Click("showreport"); // the id is compared with its case
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());
    EXPECT_EQ(Root()->State(), shell::StartupState::TimerPending);
    EXPECT_FALSE(Root()->TextsLoaded());
}

TEST_F(ConnectTest, ClickWithoutRootIsLoggedAndShownWithTheControlId)
{
    Click("ShowReport");
    const auto& vBoxes = platform::forms::Driver::current().MessageBoxes();
    ASSERT_EQ(vBoxes.size(), 1u);
    EXPECT_EQ(vBoxes[0].buttons, 48);
    EXPECT_EQ(vBoxes[0].title, "");
    EXPECT_NE(vBoxes[0].prompt.find("\r\n- Control.ID: ShowReport"), std::string::npos);
    const std::string sLog = ErrorLog();
    EXPECT_NE(sLog.find("Connect.RibbonButtonClick"), std::string::npos) << sLog;
    EXPECT_NE(sLog.find("RibbonHandler.RibbonButtonClick"), std::string::npos) << sLog;
}

TEST_F(ConnectTest, CallbacksByNameAndUnknownNames)
{
    auto oRibbon = std::make_shared<ol::IRibbonUI>();
    oAddIn->InvokeCallback("OnLoad", oRibbon);
    EXPECT_EQ(shell::modRibbon::GetRibbonHandler()->RibbonUI, oRibbon);
    auto oControl = std::make_shared<ol::IRibbonControl>("ShowReport");
    EXPECT_FALSE(rt::CBool(oAddIn->InvokeCallback("GetEnabled", oControl)));
    EXPECT_FALSE(rt::CBool(oAddIn->InvokeCallback("GetVisible", oControl)));
    try {
        oAddIn->InvokeCallback("NoSuchCallback", oControl);
        FAIL() << "an unknown callback must raise";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), 438);
    }
    EXPECT_EQ(oAddIn->GetCustomUI("Microsoft.Outlook.Explorer").find("<customUI"), 0u);
    EXPECT_EQ(oAddIn->GetCustomUI("Microsoft.Outlook.Appointment"), "");
}

TEST_F(ConnectTest, LanguageOfTheRootObject)
{
    ConnectAddIn();
    struct Case
    {
        long lSet;
        long lRead;
    };
    for (const auto& c : std::vector<Case>{{1031, 1031}, {1033, 1033}, {2057, 1033}}) {
        Root()->ToILanguage().SetLanguageID(c.lSet);
        EXPECT_EQ(Root()->ToILanguage().LanguageID(), c.lRead) << c.lSet;
    }
    EXPECT_TRUE(Root()->ToILanguage().SupportedLanguages().empty());
}

} // namespace
