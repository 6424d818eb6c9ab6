#include "ShellFixture.h"

#include "common/modLanguage.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/Variant.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/RecordingShell.h"
#include "shell/Connect.h"
#include "shell/frmAbout.h"
#include "shell/modFirmenInfo2.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;
using platform::forms::Driver;

constexpr int kReturn = 13;
constexpr int kEscape = 27;

// The about box of a connected add-in (its product number comes from the settings).
class frmAboutTest : public ShellFixture
{
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        oHost = std::make_shared<platform::outlook::Application>("16.0.0.0");
        oHost->Explorers()->Add();
        oAddIn.reset(TallymanCreateAddIn());
        rt::Variant custom;
        oAddIn->OnConnection(oHost, 0, rt::Variant(), custom);
    }
    void TearDown() override
    {
        rt::Variant custom;
        oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        ShellFixture::TearDown();
    }
    // Shows the box and hands it to `answer` while it is open; true when it was closed.
    static bool ShowAbout(std::int32_t lDuration,
                          const std::function<void(shell::frmAbout&)>& answer)
    {
        bool bClosedInside = false;
        Driver::current().QueueModal("frmAbout", [&](pf::Form& oForm) {
            auto& oAbout = dynamic_cast<shell::frmAbout&>(oForm);
            answer(oAbout);
            bClosedInside = !oAbout.IsLoaded();
        });
        shell::modFirmenInfo2::ShowInfoDialog(lDuration);
        return bClosedInside;
    }

    std::shared_ptr<platform::outlook::Application> oHost;
    std::unique_ptr<platform::outlook::IAddIn> oAddIn;
};

TEST_F(frmAboutTest, TextsFollowTheLanguage)
{
    struct Case
    {
        long lLanguage;
        const char* sCaption;
        const char* sWarningStart;
        const char* sUrlQuery;
    };
    const Case vCases[] = {
        {1031, " Kestrova - Produktinformation", "Dieses Programm",
         "product.html?lang=de&pub=34&cmd=detail&id=4729615"},
        {1033, " Kestrova - Product information", "This program",
         "product.html?lang=en&pub=34&cmd=detail&id=4729615"},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.lLanguage);
        common::modLanguage::SetLanguageID(c.lLanguage);
        const bool bClosed = ShowAbout(0, [&](shell::frmAbout& o) {
            EXPECT_EQ(o.Caption(), c.sCaption);
            EXPECT_EQ(o.lblProductName().Caption(), "Kestrova - Tallyman");
            EXPECT_EQ(o.lblProductVersion().Caption(), shell::modFirmenInfo2::GetVersionShort());
            EXPECT_EQ(o.lblBuild().Caption(),
                      "Version: " + shell::modFirmenInfo2::GetVersionFull());
            EXPECT_EQ(o.lblWarning().Caption().rfind(c.sWarningStart, 0), 0U);
            EXPECT_EQ(o.cmdOK().Caption(), "&OK");
            EXPECT_EQ(o.lblCompanyProduct().Caption(), "Internet:");
            const std::string& sUrl = o.ProductUrl();
            ASSERT_GE(sUrl.size(), std::string(c.sUrlQuery).size());
            EXPECT_EQ(sUrl.substr(sUrl.size() - std::string(c.sUrlQuery).size()), c.sUrlQuery);
            EXPECT_EQ(sUrl.rfind("https://", 0), 0U);
            EXPECT_TRUE(o.cmdOK().Visible());
            EXPECT_FALSE(o.Timer().TimerEnabled());
            o.cmdOK().Click();
        });
        EXPECT_TRUE(bClosed);
    }
    EXPECT_TRUE(Driver::current().MessageBoxes().empty());
}

TEST_F(frmAboutTest, OnlyNumericTagsOfTheTableHaveTexts)
{
    shell::frmAbout oAbout;
    common::modLanguage::SetLanguageID(1033);
    for (const char* sTag : {"", "abc", "2003x", "9999", "2001", "12003", "-2003"})
        EXPECT_EQ(oAbout.GetResource(sTag), "") << sTag;
    EXPECT_EQ(oAbout.GetResource("2005"), "&OK");
    EXPECT_EQ(oAbout.GetResource("2000"), "Version ");
    EXPECT_EQ(oAbout.GetTagResource("2002"), "");
}

TEST_F(frmAboutTest, ReturnEscapeAndTheCloseBoxCloseWithoutTimer)
{
    struct Case
    {
        const char* sName;
        std::function<void(shell::frmAbout&)> close;
    };
    const Case vCases[] = {
        {"return", [](shell::frmAbout& o) { o.UserKeyDown(kReturn, 0); }},
        {"escape", [](shell::frmAbout& o) { o.UserKeyDown(kEscape, 0); }},
        {"close box", [](shell::frmAbout& o) { o.UserClose(); }},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.sName);
        EXPECT_TRUE(ShowAbout(0, [&](shell::frmAbout& o) {
            o.UserKeyDown('A', 0);
            ASSERT_TRUE(o.IsLoaded());
            c.close(o);
        }));
    }
}

TEST_F(frmAboutTest, WithADisplayTimeOnlyTheTimerCloses)
{
    const bool bClosed = ShowAbout(150, [](shell::frmAbout& o) {
        EXPECT_FALSE(o.cmdOK().Visible());
        EXPECT_TRUE(o.AutoClose());
        EXPECT_EQ(o.Timer().Interval(), 150);
        o.UserKeyDown(kReturn, 0);
        o.UserKeyDown(kEscape, 0);
        EXPECT_FALSE(o.UserClose());
        ASSERT_TRUE(o.IsLoaded());
        const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (o.IsLoaded() && std::chrono::steady_clock::now() < tEnd) {
            platform::win::MessageLoop::main().doEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_FALSE(o.AutoClose());
        EXPECT_FALSE(o.Timer().TimerEnabled());
    });
    EXPECT_TRUE(bClosed);
}

TEST_F(frmAboutTest, LogoCompanyAndAddressOpenTheProductPage)
{
    platform::win::RecordingShell oShell;
    platform::win::ScopedShell oScope(oShell);
    std::string sUrl;
    ShowAbout(0, [&](shell::frmAbout& o) {
        sUrl = o.ProductUrl();
        o.img().Click();
        o.lblCompany().Click();
        o.lblInternet().Click();
        o.lblProductName().Click(); // not a link
        oShell.failWith(2, "no browser");
        o.lblInternet().Click(); // a browser that cannot start is not reported
        o.cmdOK().Click();
    });
    ASSERT_EQ(oShell.requests().size(), 4U);
    for (const auto& oRequest : oShell.requests()) {
        EXPECT_EQ(oRequest.verb, "open");
        EXPECT_EQ(oRequest.file, sUrl);
    }
    EXPECT_TRUE(Driver::current().MessageBoxes().empty());
}

} // namespace
