#pragma once

#include "actions/Action.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modRedemption.h"
#include "platform/excel/Application.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Message.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Error.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"
#include "platform/win/RecordingShell.h"
#include "platform/win/Shell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace actions::test {

/// A view's five actions over a fresh temporary folder: TZ, locale and the English UI pinned,
/// the shell replaced by a recording one, message boxes and dialogs answered by the test, a
/// client of version 16 with a profile whose default store has the default folders, and every
/// mail shown kept.
class ActionFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "Europe/Berlin", 1);
        ::tzset();
        platform::locale::SetCurrent("en-US");
        common::modLanguage::SetLanguageID(1033);
        std::random_device rd;
        m_oDir = std::filesystem::temp_directory_path() /
                 ("tv-actions-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_oDir / "config");
        ::setenv("XDG_CONFIG_HOME", (m_oDir / "config").c_str(), 1);
        platform::forms::Driver::current().Reset();
        m_oShellScope.emplace(oShell);
        oAction.Init(nullptr);
        common::modMain::G() = {};
        common::modOLVersion::ResetOutlookVersion();
    }

    void TearDown() override
    {
        platform::mapi::SetDisplayHandler({});
        common::modRedemption::ReleaseSession(true);
        common::modMain::G() = {};
        common::modOLVersion::ResetOutlookVersion();
        platform::mapi::SetCurrentProfile("");
        m_oStore.reset();
        m_oProfile.reset();
        m_oShellScope.reset();
        platform::forms::Driver::current().Reset();
        ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(m_oDir, ec);
    }

    /// Makes the profile with the default folders and a client over it whose new mails have
    /// the body format given; keeps every mail shown.
    void UseMailProfile(long lBodyFormat)
    {
        namespace st = platform::store;
        // A fresh profile on every call, so that a table-driven test starts each case anew.
        common::modRedemption::ReleaseSession(true);
        const auto oFolder = m_oDir / ("Outlook" + std::to_string(++m_nProfiles));
        m_oProfile = st::Profile::Create(oFolder);
        m_oProfile->SetUserName("Jörg Müller");
        m_oStore =
            m_oProfile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal, true);
        st::StoreBuilder oBuilder(*m_oStore);
        for (auto role : {st::FolderRole::Outbox, st::FolderRole::SentMail, st::FolderRole::Inbox,
                          st::FolderRole::Drafts, st::FolderRole::DeletedItems})
            oBuilder.DefaultFolder(role);
        platform::mapi::SetCurrentProfile(oFolder.string());
        auto oApp = std::make_shared<platform::outlook::Application>("16.0.4266.1001");
        oApp->SetNewMailBodyFormat(lBodyFormat);
        common::modMain::G().g_oOutlookApp = oApp;
        platform::mapi::SetDisplayHandler(
            [this](const std::shared_ptr<platform::mapi::Message>& m) { vShown.push_back(m); });
    }

    /// Writes a report file into the test folder and makes it the file the save action wrote.
    std::string SaveReport(const std::string& sName, const std::string& sContent,
                           std::int32_t lFormat)
    {
        const auto oPath = m_oDir / sName;
        std::ofstream(oPath, std::ios::binary) << sContent;
        oAction.GetSaveAction()->SetReportFormat(lFormat);
        oAction.GetSaveAction()->SetSavedAs(oPath.string());
        return oPath.string();
    }

    /// Writes a workbook whose first worksheet holds the rows given (texts from A1 on) and
    /// makes it the file the save action wrote (format 4, xlsx).
    std::string SaveWorkbook(const std::string& sName,
                             const std::vector<std::vector<std::string>>& vRows)
    {
        namespace xl = platform::excel;
        auto oExcel = xl::CreateObject("excel.application");
        auto oBook = oExcel->Workbooks()->Add();
        auto oSheet = oBook->Worksheets(1);
        for (std::size_t r = 0; r < vRows.size(); ++r)
            for (std::size_t c = 0; c < vRows[r].size(); ++c)
                oSheet->Cells(static_cast<long>(r + 1), static_cast<long>(c + 1))
                    ->SetValue(platform::runtime::Variant(vRows[r][c]));
        const auto oPath = m_oDir / sName;
        oBook->SaveAs(oPath.string(), 51);
        oExcel->Quit();
        oAction.GetSaveAction()->SetReportFormat(4);
        oAction.GetSaveAction()->SetSavedAs(oPath.string());
        return oPath.string();
    }

    const std::filesystem::path& Dir() const { return m_oDir; }

    /// The runtime error `f` raises, or nothing when it returns normally.
    template <class F> static std::optional<platform::runtime::Error> Raised(F&& f)
    {
        try {
            f();
        } catch (const platform::runtime::Error& e) {
            return e;
        }
        return std::nullopt;
    }

    platform::win::RecordingShell oShell;
    Action oAction;
    std::vector<std::shared_ptr<platform::mapi::Message>> vShown;

private:
    std::filesystem::path m_oDir;
    std::optional<platform::win::ScopedShell> m_oShellScope;
    std::shared_ptr<platform::store::Profile> m_oProfile;
    std::shared_ptr<platform::store::Store> m_oStore;
    int m_nProfiles = 0;
};

} // namespace actions::test
