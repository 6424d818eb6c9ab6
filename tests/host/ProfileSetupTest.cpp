#include "host/ProfileSetup.h"
#include "host/ProfileLock.h"

#include "host/HostSession.h"
#include "host/HostTexts.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/Session.h"
#include "platform/store/Profile.h"
#include "platform/win/FileComponent.h"
#include "tests/platform/PipeOpener.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ProfileSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        std::string sTemplate = (fs::temp_directory_path() / "tvhost-XXXXXX").string();
        ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
        oRoot = sTemplate;
        setenv("XDG_CONFIG_HOME", oRoot.c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(oRoot, ec);
    }
    fs::path oRoot;
};

TEST_F(ProfileSetupTest, SampleProfileLivesInTheUserDataFolder)
{
    EXPECT_EQ(host::SampleProfileFolder(), oRoot / "Kestrova" / "Tallyman" / "SampleProfile");
}

// The home folder of this process's account, read from the password file by hand.
std::string PasswdHome()
{
    std::ifstream oPasswd("/etc/passwd");
    const std::string sUid = std::to_string(::getuid());
    for (std::string sLine; std::getline(oPasswd, sLine);) {
        std::vector<std::string> vFields;
        std::size_t start = 0;
        for (std::size_t at; (at = sLine.find(':', start)) != std::string::npos; start = at + 1)
            vFields.push_back(sLine.substr(start, at - start));
        vFields.push_back(sLine.substr(start));
        if (vFields.size() >= 6 && vFields[2] == sUid)
            return vFields[5];
    }
    return {};
}

// Sets or unsets a variable for one scope.
class ScopedVariable
{
public:
    ScopedVariable(const char* pName, const char* pValue) : m_pName(pName)
    {
        if (const char* pOld = std::getenv(pName))
            m_oOld = pOld;
        pValue ? setenv(pName, pValue, 1) : unsetenv(pName);
    }
    ~ScopedVariable() { m_oOld ? setenv(m_pName, m_oOld->c_str(), 1) : unsetenv(m_pName); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_pName;
    std::optional<std::string> m_oOld;
};

TEST_F(ProfileSetupTest, TheSettingsFolderFollowsTheXdgRulesAndIsNeverTheTemporaryFolder)
{
    const std::string sXdg = (oRoot / "cfg").string();
    const std::string sHome = (oRoot / "home").string();
    const std::string sTmp = (oRoot / "tmp").string();
    const std::string sPasswd = PasswdHome();
    ASSERT_FALSE(sPasswd.empty());
    struct Case
    {
        const char* pXdg;
        const char* pHome;
        std::string sExpected;
    };
    const std::vector<Case> vCases = {
        {sXdg.c_str(), sHome.c_str(), sXdg + "/Kestrova/Tallyman"},
        {nullptr, sHome.c_str(), sHome + "/.config/Kestrova/Tallyman"},
        {"", sHome.c_str(), sHome + "/.config/Kestrova/Tallyman"},
        {"relative", sHome.c_str(), sHome + "/.config/Kestrova/Tallyman"},
        {nullptr, nullptr, sPasswd + "/.config/Kestrova/Tallyman"},
        {nullptr, "", sPasswd + "/.config/Kestrova/Tallyman"},
    };
    const ScopedVariable oTmp("TMPDIR", sTmp.c_str());
    for (const auto& c : vCases) {
        const ScopedVariable oXdg("XDG_CONFIG_HOME", c.pXdg);
        const ScopedVariable oHome("HOME", c.pHome);
        SCOPED_TRACE(std::string(c.pXdg ? c.pXdg : "(unset)") + " " +
                     (c.pHome ? c.pHome : "(unset)"));
        EXPECT_EQ(host::SettingsFolder().lexically_normal(),
                  fs::path(c.sExpected).lexically_normal());
        EXPECT_EQ(host::SampleProfileFolder(), host::SettingsFolder() / "SampleProfile");
        EXPECT_NE(host::SettingsFolder().string().rfind(sTmp, 0), 0U);
        // The add-in's data folder is the same one (made here only inside the test's folder).
        if (c.sExpected.rfind(oRoot.string(), 0) == 0) {
            EXPECT_EQ(fs::path(platform::win::FileComponent().folder(
                                   platform::win::FileComponent::kUserDataFolder, "Tallyman"))
                          .lexically_normal(),
                      (host::SettingsFolder() / "").lexically_normal());
        }
    }
}

TEST_F(ProfileSetupTest, ASettingsFolderThatCannotBeMadeIsToldInTheRunsLanguage)
{
    // A file stands where the folder's parent would be: it cannot be made, also by root.
    std::ofstream(oRoot / "blocked") << "x";
    const ScopedVariable oXdg("XDG_CONFIG_HOME", (oRoot / "blocked").c_str());
    for (const auto& [sLanguage, sWords] : std::vector<std::pair<std::string, std::string>>{
             {"en", "cannot be used"}, {"de", "ist nicht nutzbar"}}) {
        host::SetTextLanguage(sLanguage);
        platform::locale::SetCurrent(sLanguage == "de" ? "de-DE" : "en-US");
        try {
            host::MakeSettingsFolder();
            ADD_FAILURE() << "made";
        } catch (const std::runtime_error& e) {
            const std::string sWhy = e.what();
            EXPECT_NE(sWhy.find(sWords), std::string::npos) << sWhy;
            EXPECT_NE(sWhy.find((oRoot / "blocked" / "Kestrova" / "Tallyman").string()),
                      std::string::npos)
                << sWhy;
            EXPECT_EQ(sWhy.find("filesystem error"), std::string::npos) << sWhy;
        }
    }
    host::SetTextLanguage("en");
    platform::locale::SetCurrent("en-US");
    EXPECT_TRUE(fs::is_regular_file(oRoot / "blocked"));
}

TEST_F(ProfileSetupTest, DefinitionsThatAreNoFileAreUnreadableAndAPipeIsNotOpened)
{
    host::MakeSettingsFolder();
    const fs::path oFile = host::SettingsFolder() / "reports.xml";
    struct Case
    {
        const char* sWhat;
        std::function<void()> fnMake;
        bool bUnreadable;
    };
    const Case cases[] = {
        {"missing", [] {}, false},
        {"a file", [&] { std::ofstream(oFile) << "<Reports/>"; }, false},
        {"a folder", [&] { fs::create_directory(oFile); }, true},
        {"a pipe", [&] { ASSERT_EQ(::mkfifo(oFile.c_str(), 0600), 0); }, true},
        {"a link to a device", [&] { fs::create_symlink("/dev/null", oFile); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sWhat);
        fs::remove_all(oFile);
        c.fnMake();
        const platformtest::PipeOpener oOpener(oFile.string());
        EXPECT_EQ(host::DefinitionsUnreadable(), c.bUnreadable);
    }
    fs::remove_all(oFile);
}

TEST_F(ProfileSetupTest, GeneratesOnceAndLeavesNoWorkFolder)
{
    const auto oFolder = host::SampleProfileFolder();
    EXPECT_TRUE(host::EnsureSampleProfile(oFolder));
    EXPECT_TRUE(platform::store::Profile::Exists(oFolder));
    EXPECT_NE(platform::store::Profile::Open(oFolder), nullptr);
    EXPECT_FALSE(host::EnsureSampleProfile(oFolder));
    int nEntries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(oFolder.parent_path()))
        ++nEntries;
    EXPECT_EQ(nEntries, 1);
}

TEST_F(ProfileSetupTest, AKilledFirstStartsWorkFolderGoesAtTheNextStart)
{
    const auto oFolder = host::SampleProfileFolder();
    fs::create_directories(oFolder.parent_path());
    // A process that has ended, and one still at work (this one).
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const auto oDead = oFolder.parent_path() / ("SampleProfile.new-" + std::to_string(ended));
    const auto oAlive = oFolder.parent_path() / ("SampleProfile.new-" + std::to_string(getppid()));
    const auto oOther = oFolder.parent_path() / "SampleProfile.new-mine";
    for (const auto& oWork : {oDead, oAlive, oOther}) {
        fs::create_directories(oWork);
        std::ofstream(oWork / "store1.db") << "half";
    }
    EXPECT_TRUE(host::EnsureSampleProfile(oFolder));
    EXPECT_FALSE(fs::exists(oDead));
    EXPECT_TRUE(fs::exists(oAlive));
    EXPECT_TRUE(fs::exists(oOther));
    // One left while another start made the profile goes at a later start too.
    fs::create_directories(oDead);
    EXPECT_FALSE(host::EnsureSampleProfile(oFolder));
    EXPECT_FALSE(fs::exists(oDead));
}

TEST_F(ProfileSetupTest, TwoFirstStartsAtOnceBothEndWithTheProfile)
{
    const auto oFolder = host::SampleProfileFolder();
    // Two processes make the profile at the same instant; the slower finds the quicker one's.
    std::vector<pid_t> vChildren;
    for (int i = 0; i < 2; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                host::EnsureSampleProfile(oFolder);
                ::_exit(platform::store::Profile::Exists(oFolder) ? 0 : 2);
            } catch (...) {
                ::_exit(1);
            }
        }
        vChildren.push_back(child);
    }
    for (const pid_t child : vChildren) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    int nEntries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(oFolder.parent_path()))
        ++nEntries;
    EXPECT_EQ(nEntries, 1);
}

TEST_F(ProfileSetupTest, SampleProfileCarriesAMailTemplate)
{
    const auto oFolder = host::SampleProfileFolder();
    ASSERT_TRUE(host::EnsureSampleProfile(oFolder, {}, {}, "en"));
    const auto oTemplate = host::SampleMailTemplate(oFolder);
    ASSERT_TRUE(fs::is_regular_file(oTemplate));
    platform::mapi::SetCurrentProfile(oFolder.string());
    auto oSession = std::make_shared<platform::mapi::Session>();
    oSession->Logon();
    auto oMail = oSession->GetMessageFromMsgFile(oTemplate.string());
    EXPECT_EQ(oMail->Subject(), "Report");
    EXPECT_NE(oMail->Body().find("[@kestrova report]"), std::string::npos);
    EXPECT_NE(oMail->RTFBody().find("[@kestrova report]"), std::string::npos);
    ASSERT_EQ(oMail->GetRecipients()->Count(), 1);
    EXPECT_EQ(oMail->GetRecipients()->Item(1)->Address(), "team@kestrova.example");
    oSession->Logoff();
    platform::mapi::SetCurrentProfile("");
}

TEST_F(ProfileSetupTest, FolderWithOtherFilesIsLeftAlone)
{
    const auto oFolder = oRoot / "NotAProfile";
    fs::create_directories(oFolder);
    std::ofstream(oFolder / "notes.txt") << "mine";
    EXPECT_THROW(host::EnsureSampleProfile(oFolder), std::runtime_error);
    std::ifstream oIn(oFolder / "notes.txt");
    std::string s;
    oIn >> s;
    EXPECT_EQ(s, "mine");
}

TEST_F(ProfileSetupTest, AProfileIsHeldByOneHostAndALockFileAloneHoldsNothing)
{
    const std::string sProfile = oRoot.string();
    // A lock file left by a host that died (its id is stale): the profile opens.
    std::ofstream(host::ProfileLock::FilePath(sProfile)) << "999999999\n";
    {
        const host::ProfileLock oFirst(sProfile);
        try {
            const host::ProfileLock oSecond(sProfile);
            ADD_FAILURE() << "a second claim on the profile was granted";
        } catch (const std::runtime_error& e) {
            const std::string sMessage = e.what();
            EXPECT_NE(sMessage.find(sProfile), std::string::npos) << sMessage;
            EXPECT_NE(sMessage.find("process " + std::to_string(getpid())), std::string::npos)
                << sMessage;
        }
    }
    // Let go with its holder.
    EXPECT_NO_THROW(host::ProfileLock{sProfile});
    EXPECT_THROW(host::ProfileLock{(oRoot / "missing").string()}, std::runtime_error);
}

} // namespace
