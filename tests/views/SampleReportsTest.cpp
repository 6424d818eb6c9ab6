#include "platform/store/SampleReports.h"
#include "actions/Action.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "fieldcatalogue/Application.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/runtime/Date.h"
#include "platform/store/SampleProfile.h"
#include "platform/store/Store.h"
#include "views/Templates.h"
#include "views/cMapiProps.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <stdexcept>

namespace views::test {
namespace {

namespace st = platform::store;
namespace rt = platform::runtime;

const std::string kTask = "{00062003-0000-0000-C000-000000000046}/";
const std::string kCompanies = "{00062008-0000-0000-C000-000000000046}/Companies";
const std::string kKeywords = "{00020329-0000-0000-C000-000000000046}/Keywords";
const std::string kPublic = "{00020329-0000-0000-C000-000000000046}/";

// The sample profile with the shipped report definitions, opened as the add-in opens it.
class SampleReportsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        std::random_device rd;
        m_oDir = std::filesystem::temp_directory_path() /
                 ("tv-sample-" + std::to_string(rd()) + std::to_string(rd()));
        setenv("XDG_CONFIG_HOME", (m_oDir / "config").c_str(), 1);
        common::modMain::G() = {};
        common::modLanguage::ResetLanguageForTests();
        st::SampleProfileOptions oOptions;
        oOptions.calendarItems = 30;
        oOptions.anchor = {2024, 12, 15};
        oOptions.dataFolder = common::modMain::GetUserDataPath();
        oOptions.reportsXml = ShippedText();
        m_oProfile = st::GenerateSampleProfile(m_oDir / "profile", oOptions);
        platform::mapi::SetCurrentProfile((m_oDir / "profile").string());
        m_oCatalogue = std::make_shared<fieldcatalogue::Application>();
        m_oMapiProps = std::make_shared<cMapiProps>();
        m_oMapiProps->SetCatalogueSource([this] { return m_oCatalogue; });
        SetRootMapiProps(m_oMapiProps);
    }
    void TearDown() override
    {
        SetRootMapiProps(nullptr);
        common::modRedemption::ReleaseSession(true);
        platform::mapi::SetCurrentProfile("");
        m_oProfile.reset();
        unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(m_oDir, ec);
    }
    static std::string ShippedText()
    {
        const char* sSource = std::getenv("TV_SOURCE_DIR");
        std::ifstream oIn(std::filesystem::path(sSource ? sSource : ".") / "resources" / "samples" /
                              "reports.xml",
                          std::ios::binary);
        return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    }
    std::string FolderId(const std::string& sPath)
    {
        auto oStore = m_oProfile->DefaultStore();
        auto oFolder = oStore->RootFolder();
        std::string sRest = sPath;
        while (!sRest.empty()) {
            const auto n = sRest.find('/');
            for (const auto& o : oStore->SubFolders(oFolder.entryId))
                if (o.name == sRest.substr(0, n))
                    oFolder = o;
            sRest = n == std::string::npos ? "" : sRest.substr(n + 1);
        }
        return oFolder.entryId;
    }
    std::vector<std::string> FolderIds(ViewSettings& oView)
    {
        std::vector<std::string> a;
        for (const auto& o : *oView.Folders())
            a.push_back(o->EntryID());
        return a;
    }

    std::filesystem::path m_oDir;
    std::shared_ptr<st::Profile> m_oProfile;
    std::shared_ptr<fieldcatalogue::Application> m_oCatalogue;
    std::shared_ptr<cMapiProps> m_oMapiProps;
};

TEST_F(SampleReportsTest, TheShippedTemplatesLoadOverTheSampleFolders)
{
    Templates oTemplates;
    oTemplates.Load();
    ASSERT_EQ(oTemplates.Count(), 4);
    EXPECT_EQ(oTemplates.Item(rt::Variant(1))->Name(), "(Standard)");

    auto oStandard = oTemplates.Item(rt::Variant("(Standard)"));
    EXPECT_EQ(FolderIds(*oStandard), (std::vector<std::string>{FolderId("Kalender")}));
    EXPECT_EQ(oStandard->Folders()->Item(1)->StoreID(), m_oProfile->DefaultStore()->EntryId());
    EXPECT_EQ(oStandard->GroupByLevel(0)->ColKey, kKeywords);
    EXPECT_EQ(oStandard->GroupByLevel(1)->ColKey, "Start");
    EXPECT_EQ(oStandard->GroupByLevel(1)->DateGroupBy, 3);
    EXPECT_TRUE(oStandard->HasKeywordGrouping());
    EXPECT_EQ(oStandard->Fields()->Item(rt::Variant("Duration"))->Calculation(), 2);
    const auto oFilter = oStandard->Filter();
    EXPECT_EQ(oFilter->RestrictTime(), engine::trTimeBetween);
    EXPECT_EQ(oFilter->FromDate().Serial(), rt::DateSerial(2024, 12, 1).Serial());
    EXPECT_EQ(rt::Year(oFilter->ToDate()), 2025);
    EXPECT_EQ(rt::Month(oFilter->ToDate()), 1);
    EXPECT_EQ(rt::Day(oFilter->ToDate()), 31);

    auto oTasks = oTemplates.Item(rt::Variant("Aufgaben nach Status"));
    EXPECT_EQ(FolderIds(*oTasks),
              (std::vector<std::string>{FolderId("Aufgaben"), FolderId("Aufgaben/Privat")}));
    EXPECT_EQ(oTasks->GroupByLevel(0)->ColKey, kTask + "Status");
    EXPECT_EQ(oTasks->Fields()->Item(rt::Variant(kTask + "TotalWork"))->Calculation(), 2);
    EXPECT_EQ(oTasks->Fields()->Item(rt::Variant(kTask + "ActualWork"))->Calculation(), 2);

    auto oJournal = oTemplates.Item(rt::Variant("Journal nach Firma und Monat"));
    EXPECT_EQ(FolderIds(*oJournal), (std::vector<std::string>{FolderId("Journal")}));
    EXPECT_EQ(oJournal->GroupByLevel(0)->ColKey, kCompanies);
    EXPECT_EQ(oJournal->GroupByLevel(1)->DateGroupBy, 4);
    EXPECT_TRUE(oJournal->HasKeywordGrouping());

    // The user-defined fields of the project calendar survive the catalogue's preparation.
    auto oProjects = oTemplates.Item(rt::Variant("Projektzeiten"));
    EXPECT_EQ(oProjects->Fields()->Item(rt::Variant(1))->Key(), kPublic + "Projekt");
    EXPECT_EQ(oProjects->Fields()->Item(rt::Variant(kPublic + "Stunden"))->Calculation(), 2);
    EXPECT_TRUE(oProjects->GroupByLevel(0)->Apply());
}

TEST_F(SampleReportsTest, NamesAndCaptionsFollowTheLanguageTheFileIsMadeIn)
{
    struct Case
    {
        const char* sLanguage;
        std::vector<std::string> aNames;
        std::vector<std::string> aStandardCaptions;
        std::string sFooter;
    };
    const std::vector<Case> aCases = {
        {"de",
         {"(Standard)", "Aufgaben nach Status", "Journal nach Firma und Monat", "Projektzeiten"},
         {"Betreff", "Beginn", "Ende/Erledigt am", "Dauer", "Kategorien", "Ort"},
         "Erstellt:  [@Datum]"},
        {"en",
         {"(Standard)", "Tasks by Status", "Journal by Company and Month", "Project Hours"},
         {"Subject", "Start", "End/Date Completed", "Duration", "Categories", "Location"},
         "Created:  [@Date]"},
    };
    const auto oPath = std::filesystem::path(common::modMain::GetUserDataPath()) / "reports.xml";
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.sLanguage);
        std::ofstream(oPath, std::ios::binary)
            << st::FillSampleReports(*m_oProfile, {2024, 12, 15}, ShippedText(), c.sLanguage);
        Templates oTemplates;
        oTemplates.Load();
        std::vector<std::string> aNames;
        for (const auto& oView : oTemplates)
            aNames.push_back(oView->Name());
        EXPECT_EQ(aNames, c.aNames);
        auto oStandard = oTemplates.Item(rt::Variant("(Standard)"));
        std::vector<std::string> aCaptions;
        for (const auto& oField : *oStandard->Fields())
            aCaptions.push_back(oField->Caption());
        EXPECT_EQ(aCaptions, c.aStandardCaptions);
        EXPECT_EQ(oStandard->Action()->GetSaveAction()->ReportFooter(), c.sFooter);
    }
}

TEST_F(SampleReportsTest, TheCountingTaskTemplateHasItsCountingColumn)
{
    // The grid counts a view's items in its "Icon" column: every shipped view that counts
    // items carries one, hidden, with the count calculation.
    Templates oTemplates;
    oTemplates.Load();
    int nCounting = 0;
    for (const auto& oView : oTemplates) {
        if (!oView->CalculateItemsCount())
            continue;
        ++nCounting;
        SCOPED_TRACE(oView->Name());
        auto oIcon = oView->Fields()->Item(rt::Variant("Icon"));
        ASSERT_TRUE(oIcon);
        EXPECT_EQ(oIcon->Calculation(), 4);
        EXPECT_FALSE(oIcon->Visible());
    }
    EXPECT_EQ(nCounting, 1);
}

TEST_F(SampleReportsTest, AnExistingFileIsNeverReplaced)
{
    const auto oPath = std::filesystem::path(common::modMain::GetUserDataPath()) / "reports.xml";
    std::ofstream(oPath, std::ios::binary) << "mine";
    EXPECT_FALSE(st::WriteSampleReports(*m_oProfile, {2024, 1, 1}, oPath.parent_path(), "x"));
    std::ifstream oIn(oPath, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(oIn), {}), "mine");
}

TEST_F(SampleReportsTest, TokensResolveOrFail)
{
    EXPECT_EQ(st::FillSampleReports(*m_oProfile, {2024, 11, 3}, "{{monthstart:1}}|{{monthend:3}}"),
              "2024-12-01 00:00:00|2025-02-28 23:59:59");
    EXPECT_EQ(st::FillSampleReports(*m_oProfile, {2024, 11, 3},
                                    "<{{folder:Persönliche Ordner/Journal}}>"),
              "<" + FolderId("Journal") + ">");
    EXPECT_THROW(st::FillSampleReports(*m_oProfile, {}, "{{folder:Persönliche Ordner/Nein}}"),
                 std::exception);
    EXPECT_THROW(st::FillSampleReports(*m_oProfile, {}, "{{what:x}}"), std::invalid_argument);
    EXPECT_THROW(st::FillSampleReports(*m_oProfile, {}, "{{store:x"), std::invalid_argument);
    EXPECT_EQ(st::FillSampleReports(*m_oProfile, {}, "<{{text:Tag|Day}}>", "en"), "<Day>");
    EXPECT_EQ(st::FillSampleReports(*m_oProfile, {}, "<{{text:Tag|Day}}>", "de"), "<Tag>");
    EXPECT_THROW(st::FillSampleReports(*m_oProfile, {}, "{{text:Tag}}"), std::invalid_argument);
}

} // namespace
} // namespace views::test
