#include "PickerFixture.h"

#include "common/modLanguage.h"
#include "common/modMain.h"
#include "folderpicker/detail/modOLVersion.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/outlook/Application.h"
#include "platform/store/LocalTime.h"

#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace folderpicker::test {

namespace pf = platform::forms;

void PickerFixture::SetUp()
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    platform::locale::SetCurrent("de-DE");
    common::modLanguage::ResetLanguageForTests();
    std::string sTemplate = (std::filesystem::temp_directory_path() / "tvpicker-XXXXXX").string();
    ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
    m_oDir = sTemplate;
    setenv("XDG_CONFIG_HOME", (m_oDir / "config").c_str(), 1);
    pf::Driver::current().Reset();

    m_oProfile = st::Profile::Create(m_oDir / "profile");
    m_oPersonal =
        m_oProfile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal, true);
    m_oAnna = m_oProfile->CreateStore("Postfach Anna", st::StoreKind::PrimaryMailbox);
    m_oPublic = m_oProfile->CreateStore("Öffentliche Ordner", st::StoreKind::PublicFolders);
    m_oBernd = m_oProfile->CreateStore("Postfach Bernd", st::StoreKind::Delegate);
    m_oArchive = m_oProfile->CreateStore("Archiv", st::StoreKind::AnsiPersonal);

    const auto start = st::MakeLocalTime(2024, 12, 2, 9);
    const auto end = st::MakeLocalTime(2024, 12, 2, 10);
    st::StoreBuilder oPersonal(*m_oPersonal);
    m_oInbox = oPersonal.DefaultFolder(st::FolderRole::Inbox);
    for (int i = 1; i <= 12; ++i)
        oPersonal.Mail(m_oInbox.entryId, "Mail " + std::to_string(i));
    m_oRequests =
        oPersonal.Folder("Anfragen", st::ItemType::Mail, st::FolderRole::None, m_oInbox.entryId);
    m_oOld = oPersonal.Folder("Alt", st::ItemType::Mail, st::FolderRole::None, m_oRequests.entryId);
    m_oAncient =
        oPersonal.Folder("Uralt", st::ItemType::Mail, st::FolderRole::None, m_oOld.entryId);
    m_oDone =
        oPersonal.Folder("Erledigt", st::ItemType::Mail, st::FolderRole::None, m_oInbox.entryId);
    m_oCalendar = oPersonal.DefaultFolder(st::FolderRole::Calendar);
    for (int i = 1; i <= 3; ++i)
        oPersonal.Appointment(m_oCalendar.entryId, "Termin " + std::to_string(i), start, end);
    m_oTasks = oPersonal.DefaultFolder(st::FolderRole::Tasks);

    st::StoreBuilder oAnna(*m_oAnna);
    m_oAnnaCalendar = oAnna.DefaultFolder(st::FolderRole::Calendar);
    oAnna.Appointment(m_oAnnaCalendar.entryId, "Annas Termin 1", start, end);
    oAnna.Appointment(m_oAnnaCalendar.entryId, "Annas Termin 2", start, end);
    m_oProjects = oAnna.Folder("Projekte", st::ItemType::Mail);
    m_oAlpha = oAnna.Folder("Alpha", st::ItemType::Mail, st::FolderRole::None, m_oProjects.entryId);
    m_oBeta = oAnna.Folder("Beta", st::ItemType::Task, st::FolderRole::None, m_oAlpha.entryId);

    st::StoreBuilder oPublic(*m_oPublic);
    const auto oAll = oPublic.Folder("Alle Ordner", st::ItemType::Post);
    oPublic.Folder("Team", st::ItemType::Appointment, st::FolderRole::None, oAll.entryId);

    st::StoreBuilder oBernd(*m_oBernd);
    m_oBerndCalendar = oBernd.DefaultFolder(st::FolderRole::Calendar);
    oBernd.Appointment(m_oBerndCalendar.entryId, "Bernds Termin", start, end);

    st::StoreBuilder(*m_oArchive).Folder("2023", st::ItemType::Mail);

    platform::mapi::SetCurrentProfile((m_oDir / "profile").string());
    m_oClient = std::make_shared<platform::outlook::Application>("16.0.0.0");
}

void PickerFixture::TearDown()
{
    detail::modRedemption::ReleaseSession(true);
    detail::modOLVersion::ResetOutlookVersion();
    common::modMain::G() = {};
    pf::Driver::current().Reset();
    platform::mapi::SetCurrentProfile("");
    m_oClient.reset();
    m_oPersonal.reset();
    m_oAnna.reset();
    m_oPublic.reset();
    m_oBernd.reset();
    m_oArchive.reset();
    m_oProfile.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_oDir, ec);
}

std::shared_ptr<Dialog> PickerFixture::NewDialog()
{
    auto oDialog = std::make_shared<Dialog>();
    oDialog->Init(m_oClient);
    oDialog->ToILanguage().SetLanguageID(1031);
    return oDialog;
}

std::shared_ptr<Result> PickerFixture::Pick(const std::function<void(frmDialog&)>& fnAnswer,
                                            std::shared_ptr<Dialog> oDialog)
{
    pf::Driver::current().QueueModal("frmDialog", [fnAnswer](pf::Form& oForm) {
        auto* pWindow = dynamic_cast<frmDialog*>(&oForm);
        ASSERT_NE(pWindow, nullptr);
        fnAnswer(*pWindow);
    });
    if (!oDialog)
        oDialog = NewDialog();
    return oDialog->PickFolder();
}

std::vector<std::string> PickerFixture::RowTexts(frmDialog& oWindow)
{
    std::vector<std::string> vTexts;
    for (int r = 0; r < oWindow.fg().Rows(); ++r)
        vTexts.push_back(oWindow.fg().TextMatrix(r, 0));
    return vTexts;
}

int PickerFixture::RowOf(frmDialog& oWindow, const std::string& sName, int lFrom)
{
    for (int r = lFrom; r < oWindow.fg().Rows(); ++r) {
        const std::string sText = oWindow.fg().TextMatrix(r, 0);
        if (sText == " " + sName || sText.rfind(" " + sName + " (", 0) == 0)
            return r;
    }
    ADD_FAILURE() << "no row " << sName;
    return -1;
}

std::vector<std::string> PickerFixture::Names(const Result& oResult)
{
    std::vector<std::string> vNames;
    for (const auto& oItem : oResult)
        vNames.push_back(oItem->Name());
    return vNames;
}

pf::CommandButton& PickerFixture::Button(frmDialog& oWindow, const std::string& sName)
{
    return dynamic_cast<pf::CommandButton&>(*oWindow.FindControl(sName));
}

std::vector<std::string> PickerFixture::Messages()
{
    std::vector<std::string> vMessages;
    for (const auto& oBox : pf::Driver::current().MessageBoxes())
        vMessages.push_back(oBox.prompt);
    return vMessages;
}

std::string PickerFixture::ErrorLog() const
{
    std::ifstream oIn(m_oDir / "config" / "Kestrova" / "Tallyman" / "error.txt", std::ios::binary);
    std::ostringstream oOut;
    oOut << oIn.rdbuf();
    return oOut.str();
}

void PickerFixture::BreakStore(const std::string& sStoreName, const std::string& sSql)
{
    for (const auto& oInfo : m_oProfile->Stores()) {
        if (oInfo.name != sStoreName)
            continue;
        sqlite3* pDb = nullptr;
        const auto oFile = m_oDir / "profile" / oInfo.fileName;
        ASSERT_EQ(sqlite3_open(oFile.c_str(), &pDb), SQLITE_OK);
        sqlite3_busy_timeout(pDb, 5000);
        char* pMessage = nullptr;
        const int rc = sqlite3_exec(pDb, sSql.c_str(), nullptr, nullptr, &pMessage);
        const std::string sMessage = pMessage ? pMessage : "";
        sqlite3_free(pMessage);
        sqlite3_close(pDb);
        ASSERT_EQ(rc, SQLITE_OK) << sMessage;
        return;
    }
    FAIL() << "no store " << sStoreName;
}

} // namespace folderpicker::test
