#include "ShellFixture.h"

#include "common/modLanguage.h"
#include "platform/outlook/AddIn.h"
#include "shell/RibbonHandler.h"
#include "shell/modRibbon.h"

#include <gtest/gtest.h>

namespace {

using shell::RibbonHandler;

class RibbonTest : public ShellFixture
{
};

TEST_F(RibbonTest, ExplorerRibbonInAnyCaseOnlyGetsTheTab)
{
    struct Case
    {
        std::string id;
        bool hasTab;
    };
    const std::vector<Case> cases = {
        {"Microsoft.Outlook.Explorer", true},
        {"microsoft.outlook.explorer", true},
        {"MICROSOFT.OUTLOOK.EXPLORER", true},
        {"Microsoft.Outlook.Mail.Read", false},
        {"", false},
    };
    RibbonHandler oHandler;
    for (const auto& c : cases) {
        const std::string sXml = oHandler.GetCustomUI(c.id);
        EXPECT_EQ(!sXml.empty(), c.hasTab) << c.id;
    }
}

TEST_F(RibbonTest, XmlIsBuiltPieceByPieceInTheCurrentLanguage)
{
    struct Case
    {
        long lLanguage;
        std::string sLabel;
        std::string sTip;
    };
    for (const auto& c : std::vector<Case>{{1031, "Berichte", "Berichte verwalten"},
                                           {1033, "Reports", "Manage Reports"}}) {
        common::modLanguage::SetLanguageID(c.lLanguage);
        const std::string sExpected =
            std::string("<customUI xmlns='") + platform::outlook::kCustomUINamespace +
            "' onLoad='OnLoad'><ribbon startFromScratch='false'><tabs>"
            "<tab id='Kestrova_4729615' label='Tallyman'>"
            "<group id='Grellick' label='Kestrova Tallyman'>"
            "<button id='ShowReport' label='" +
            c.sLabel +
            "' size='large' visible='true' enabled='true' onAction='RibbonButtonClick'"
            " imageMso='CreateReportFromWizard' screentip='" +
            c.sTip + "'/></group></tab></tabs></ribbon></customUI>";
        EXPECT_EQ(RibbonHandler().GetCustomUI("Microsoft.Outlook.Explorer"), sExpected)
            << c.lLanguage;
    }
}

TEST_F(RibbonTest, RibbonTextsByIdAndLanguage)
{
    common::modLanguage::SetLanguageID(1031);
    EXPECT_EQ(RibbonHandler::GetRibbonText(2002), "Berichte");
    EXPECT_EQ(RibbonHandler::GetRibbonText(0), "");
    EXPECT_EQ(RibbonHandler::GetRibbonText(2004), "");
    common::modLanguage::SetLanguageID(1033);
    EXPECT_EQ(RibbonHandler::GetRibbonText(2003), "Manage Reports");
    EXPECT_EQ(RibbonHandler::GetRibbonText(0), "");
}

TEST_F(RibbonTest, HandlerIsMadeOnFirstUseAndCanBeDropped)
{
    shell::modRibbon::SetRibbonHandler(nullptr);
    EXPECT_EQ(shell::modRibbon::CurrentRibbonHandler(), nullptr);
    auto oFirst = shell::modRibbon::GetRibbonHandler();
    ASSERT_NE(oFirst, nullptr);
    EXPECT_EQ(shell::modRibbon::GetRibbonHandler(), oFirst);
    shell::modRibbon::SetRibbonHandler(nullptr);
    EXPECT_NE(shell::modRibbon::GetRibbonHandler(), oFirst);
}

} // namespace
