#include "ShellFixture.h"

#include "common/ErrorObject.h"
#include "common/Options.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modOSVersionsInfo.h"
#include "common/modRedemption.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/COMAddIns.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/runtime/Variant.h"
#include "platform/store/Profile.h"
#include "platform/store/SampleProfile.h"
#include "platform/win/OsVersion.h"
#include "platform/win/Registry.h"
#include "shell/Application.h"
#include "shell/Connect.h"
#include "shell/basSupportRequest.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
namespace st = platform::store;
namespace mapi = platform::mapi;
using common::modMain::G;
using shell::basSupportRequest::CreateSupportRequest;

// The add-in connected to a client over the sample profile; every mail shown is kept, and
// nothing is ever sent.
class SupportRequestTest : public ShellFixture
{
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        G() = {};
        m_oProfileDir = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "profile";
        st::SampleProfileOptions oOptions;
        oOptions.calendarItems = 3;
        oOptions.anchor = {2024, 12, 15};
        oOptions.dataFolder = common::modMain::GetUserDataPath();
        m_oProfile = st::GenerateSampleProfile(m_oProfileDir, oOptions);
        mapi::SetCurrentProfile(m_oProfileDir.string());
        oHost = std::make_shared<ol::Application>("16.0.4266.1001");
        oHost->Explorers()->Add();
        oHost->LanguageSettings()->SetLanguageID(2, 1033);
        oAddIn.reset(TallymanCreateAddIn());
        rt::Variant custom;
        oAddIn->OnConnection(oHost, 0, rt::Variant(), custom);
        common::modOLVersion::ResetOutlookVersion();
        mapi::SetDisplayHandler([this](const std::shared_ptr<mapi::Message>& m) {
            m_vShown.push_back(m);
        });
    }
    void TearDown() override
    {
        mapi::SetDisplayHandler({});
        rt::Variant custom;
        if (oAddIn)
            oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        common::modRedemption::ReleaseSession(true);
        mapi::SetCurrentProfile("");
        m_oProfile.reset();
        ShellFixture::TearDown();
    }
    // The one mail shown by a run.
    std::shared_ptr<mapi::Message> ShownMail()
    {
        CreateSupportRequest();
        EXPECT_EQ(m_vShown.size(), 1u);
        return m_vShown.empty() ? nullptr : m_vShown.back();
    }
    static std::vector<std::string> Lines(const std::string& s)
    {
        std::vector<std::string> v;
        std::size_t start = 0;
        for (auto pos = s.find("\r\n"); pos != std::string::npos; pos = s.find("\r\n", start)) {
            v.push_back(s.substr(start, pos - start));
            start = pos + 2;
        }
        v.push_back(s.substr(start));
        return v;
    }

    std::filesystem::path m_oProfileDir;
    std::shared_ptr<st::Profile> m_oProfile;
    std::shared_ptr<ol::Application> oHost;
    std::unique_ptr<ol::IAddIn> oAddIn;
    std::vector<std::shared_ptr<mapi::Message>> m_vShown;
};

TEST_F(SupportRequestTest, RecipientSubjectAndHeadingFollowTheLanguage)
{
    struct Case
    {
        long language;
        std::string address;
        std::string recipient;
        std::string subject;
        std::string heading;
    };
    const std::string kDefault = "support@kestrova.example";
    for (const auto& c : std::vector<Case>{
             {1031, "", kDefault, "Tallyman Support Anfrage", "Problembeschreibung:"},
             {1033, "hilfe@example.org", "hilfe@example.org", "Tallyman Support Request",
              "Description to reproduce the problem:"},
             {1036, "", kDefault, "Tallyman Support Request",
              "Description to reproduce the problem:"}}) {
        SCOPED_TRACE(c.language);
        m_vShown.clear();
        common::modLanguage::SetLanguageID(c.language);
        G().g_oApplication->AddinOptions()->SetSupportMailAddress(c.address);
        auto oMail = ShownMail();
        ASSERT_TRUE(oMail);
        EXPECT_EQ(oMail->Subject(), c.subject);
        ASSERT_EQ(oMail->GetRecipients()->Count(), 1);
        EXPECT_EQ(oMail->GetRecipients()->Item(1)->Address(), c.recipient);
        EXPECT_TRUE(oMail->GetRecipients()->Item(1)->Resolved());
        EXPECT_FALSE(oMail->Sent());
        const std::string dashes(29, '-');
        EXPECT_EQ(Lines(oMail->Body()).front(), dashes + c.heading + dashes);
    }
}

TEST_F(SupportRequestTest, InformationBlockCarriesEveryLine)
{
    common::modLanguage::SetLanguageID(1033);
    oHost->COMAddIns()->Add("Tallyman.Connect", "Reporting", true);
    oHost->COMAddIns()->Add("Other.Connect", "Switched off", false);
    platform::win::Registry{}.write(
        platform::win::Hive::LocalMachine,
        "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE", "Path",
        platform::win::RegistryValue::text("C:\\Program Files\\Client\\"));
    auto oMail = ShownMail();
    ASSERT_TRUE(oMail);
    common::modOSVersionsInfo::InitOSVersionInfo();
    const auto os = platform::win::queryOsVersion();
    const std::string sWindows = common::modOSVersionsInfo::GetOSName() + ", " +
                                 std::to_string(os.major) + "." + std::to_string(os.minor) +
                                 "." + std::to_string(os.build);
    const std::string sLog = common::ErrorObject{}.GetLogFileName();
    ASSERT_FALSE(sLog.empty());
    const std::vector<std::string> expected = {
        std::string(29, '-') + "Description to reproduce the problem:" + std::string(29, '-'),
        "",
        "",
        "",
        "",
        "",
        std::string(78, '-'),
        "System Info:",
        "Windows User Name: " + platform::win::userName(),
        "Outlook User Name: J\xC3\xBCrgen Wei\xC3\x9F",
        "Tallyman Version: 0.1.0",
        "Outlook Version: 16.0.4266.1001",
        "STSMAPI Version: 5.4.0.0",
        "Windows Version: " + sWindows,
        "",
        "Loaded stores: ",
        "Default store: Pers\xC3\xB6nliche Ordner: Unicode PST file",
        // The default store's own folder leaves an empty line.
        "",
        "Archiv: ANSI PST file",
        "\xC3\x96"
        "ffentliche Ordner: Exchange Public Folders store",
        "",
        "Outlook Profile: profile",
        // An Exchange store without a server version on a current client: online, mode 2.
        "Outlook Mode: User Online = True\tm_olConnectMode = 2",
        "Exchange Version: ",
        "UI Language ID: 1033",
        "",
        // The folder of the add-in library this test loads, not the test program's.
        std::string("Addin Installation Folder: ") + TV_ADDIN_FOLDER,
        "",
        "Outlook Installation Folder: C:\\Program Files\\Client\\",
        "",
        "Error Log File Location: " + sLog,
        "",
        "Connected COM Addins: ",
        "Reporting",
        "",
        "",
        "",
    };
    EXPECT_EQ(Lines(oMail->Body()), expected);
}

TEST_F(SupportRequestTest, OldClientsKeepTheBodyFormatAndReportTheirConnectionMode)
{
    struct Case
    {
        const char* sVersion;
        const char* sMode;
        long lBodyFormat; // a new mail's format is 2 unless the run sets plain text
    };
    // The sample profile holds an Exchange public-folder store, whose server version is none.
    const Case aCases[] = {
        {"16.0.4266.1001", "User Online = True\tm_olConnectMode = 2", 1},
        {"11.0.5510", "User Online = True\tm_olConnectMode = 2", 1},
        {"10.0.2627", "User Online = True\tm_olConnectMode = 1", 2},
        {"9.0.0.2711", "User Online = True\tm_olConnectMode = 1", 2},
        {"8.5.5104", "User Online = False\tm_olConnectMode = 3", 2},
    };
    common::modLanguage::SetLanguageID(1033);
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.sVersion);
        m_vShown.clear();
        common::modOLVersion::ResetOutlookVersion();
        G().g_oOutlookApp = std::make_shared<ol::Application>(c.sVersion);
        auto oMail = ShownMail();
        ASSERT_TRUE(oMail);
        const auto vLines = Lines(oMail->Body());
        EXPECT_NE(std::find(vLines.begin(), vLines.end(), std::string("Outlook Mode: ") + c.sMode),
                  vLines.end())
            << oMail->Body();
        EXPECT_EQ(oMail->BodyFormat(), c.lBodyFormat);
    }
}

TEST_F(SupportRequestTest, ErrorLogIsAttachedOnlyWhenItExists)
{
    const std::string sLog = common::ErrorObject{}.GetLogFileName();
    std::filesystem::remove(sLog);
    auto oMail = ShownMail();
    ASSERT_TRUE(oMail);
    EXPECT_EQ(oMail->GetAttachments()->Count(), 0);

    m_vShown.clear();
    std::filesystem::create_directories(std::filesystem::path(sLog).parent_path());
    std::ofstream(sLog, std::ios::binary) << "12:00:00 Tolvane2 error 5\r\n";
    oMail = ShownMail();
    ASSERT_TRUE(oMail);
    ASSERT_EQ(oMail->GetAttachments()->Count(), 1);
    EXPECT_EQ(oMail->GetAttachments()->FileName(1), "error.txt");
    EXPECT_EQ(oMail->GetAttachments()->Size(1), 27);
    EXPECT_FALSE(oMail->Sent());
}

TEST_F(SupportRequestTest, ExchangeVersionWordsAreSigned)
{
    using shell::basSupportRequest::ExchangeVersionText;
    EXPECT_EQ(ExchangeVersionText(0x0008000102BD0000LL), "8.1.701.0");
    EXPECT_EQ(ExchangeVersionText(static_cast<std::int64_t>(0x8000FFFF00010002ULL)),
              "-32768.-1.1.2");
    EXPECT_EQ(shell::basSupportRequest::StoreKindText(0), "unknown store type");
    EXPECT_EQ(shell::basSupportRequest::StoreKindText(6), "unknown store type");
}

} // namespace
