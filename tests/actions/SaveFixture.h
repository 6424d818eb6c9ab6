#pragma once

#include "tests/actions/ExportFixture.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "actions/IReportWindow.h"
#include "actions/detail/SaveFileNames.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "fieldcatalogue/Application.h"
#include "platform/forms/Driver.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/runtime/Date.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace actions::test {

namespace rt = platform::runtime;
namespace pf = platform::forms;
namespace st = platform::store;

/// The window whose report the save writes: the parent of the view's template collection.
class TestWindow : public rt::Object, public IReportWindow
{
public:
    // oRecords is the fixture's: a test may put other records in its place.
    TestWindow(pf::FlexGrid& fg, const std::shared_ptr<engine::Records>& oRecords)
        : m_fg(fg), m_oRecords(oRecords)
    {
    }
    std::string TypeName() const override { return "TestWindow"; }
    pf::FlexGrid& ReportGrid() override { return m_fg; }
    std::shared_ptr<engine::Records> ReportRecords() const override { return m_oRecords; }
    void SetReportMousePointer(int lPointer) override { aPointers.push_back(lPointer); }

    std::vector<int> aPointers;

private:
    pf::FlexGrid& m_fg;
    const std::shared_ptr<engine::Records>& m_oRecords;
};

/// A view "Bericht" in a template collection whose parent window shows the filled report
/// grid, with a save action that writes straight into the folder "out" as CSV, a profile
/// with the default folders, and the clock pinned to 24 Dec 2024 15:30:05.
class SaveFixture : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        pf::Driver::current().Reset();
        rt::SetClock([] {
            return rt::Date(rt::DateSerial(2024, 12, 24).Serial() +
                            rt::TimeSerial(15, 30, 5).Serial());
        });
        MakeProfile();
        m_oWindow = std::make_unique<TestWindow>(fg, oRecords);
        m_oTemplates = std::make_shared<views::Templates>();
        m_oTemplates->AsIChild().Init(m_oWindow.get(), {});
        oReport = std::make_shared<views::ViewSettings>();
        oReport->CreateNew("Bericht");
        m_oTemplates->Add(oReport);
        std::filesystem::create_directories(PathOf("out"));
        Save().SetPath(PathOf("out"));
        Save().SetAction(1);
        Save().SetFilename("Report");
        Save().SetReportFormat(detail::kCsv);
    }
    void TearDown() override
    {
        rt::SetClock({});
        pf::Driver::current().Reset();
        m_oTemplates->Remove(rt::Variant(std::string("Bericht")));
        views::SetRootMapiProps(nullptr);
        common::modRedemption::ReleaseSession(true);
        platform::mapi::SetCurrentProfile("");
        m_oStore.reset();
        m_oProfile.reset();
        ExportFixture::TearDown();
    }

    ActionSave& Save() { return *oReport->Action()->GetSaveAction(); }
    void Touch(const std::string& sName, const std::string& sText = "old")
    {
        std::ofstream(Out(sName), std::ios::binary) << sText;
    }
    // A file in the report folder (the folder itself for "").
    std::string Out(const std::string& sName) const { return PathOf("out") + "/" + sName; }
    std::string SavedName() { return std::filesystem::path(Save().SavedAs()).filename(); }

    std::shared_ptr<views::ViewSettings> oReport;

private:
    // A profile with the default folders (the mail folders included, for the actions after
    // the save), whose catalogues a new view takes its columns from.
    void MakeProfile()
    {
        common::modMain::G() = {};
        m_oProfile = st::Profile::Create(PathOf("profile"));
        m_oProfile->SetUserName("Jörg Müller");
        m_oStore =
            m_oProfile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal, true);
        st::StoreBuilder oBuilder(*m_oStore);
        for (auto eRole : {st::FolderRole::Calendar, st::FolderRole::Journal, st::FolderRole::Tasks,
                           st::FolderRole::Drafts, st::FolderRole::Outbox,
                           st::FolderRole::SentMail})
            oBuilder.DefaultFolder(eRole);
        m_oStore->SetProperty(st::props::PR_MAILBOX_OWNER_NAME, st::PropValue{"Jörg Müller"});
        platform::mapi::SetCurrentProfile(PathOf("profile"));
        auto oCatalogue = std::make_shared<fieldcatalogue::Application>();
        m_oMapiProps = std::make_shared<views::cMapiProps>();
        m_oMapiProps->SetCatalogueSource([oCatalogue] { return oCatalogue; });
        views::SetRootMapiProps(m_oMapiProps);
        m_oMapiProps->LoadStandardProperties();
    }

    std::shared_ptr<st::Profile> m_oProfile;
    std::shared_ptr<st::Store> m_oStore;
    std::shared_ptr<views::cMapiProps> m_oMapiProps;
    std::unique_ptr<TestWindow> m_oWindow;
    std::shared_ptr<views::Templates> m_oTemplates;

protected:
    TestWindow& Window() { return *m_oWindow; }
};

} // namespace actions::test
