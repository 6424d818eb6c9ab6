#include "ShellFixture.h"

#include "common/FormPersitent.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "engine/FolderData.h"
#include "fieldcatalogue/Application.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/StandardControls.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/Variant.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/NamedProperty.h"
#include "platform/store/Profile.h"
#include "platform/store/SampleProfile.h"
#include "platform/store/Store.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Registry.h"
#include "shell/Application.h"
#include "shell/Connect.h"
#include "shell/frmMain.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
namespace st = platform::store;
using common::modMain::G;

const std::string kTasks = "Aufgaben nach Status";
const std::string kTotalWork = "{00062003-0000-0000-C000-000000000046}/TotalWork";
constexpr std::int64_t kCurrentUser = static_cast<std::int64_t>(platform::win::Hive::CurrentUser);

// The sample profile with the shipped templates, the add-in connected to a client over it.
class ReportWindowTest : public ShellFixture
{
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        common::modMain::G() = {};
        m_oProfileDir = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "profile";
        st::SampleProfileOptions oOptions;
        oOptions.calendarItems = 30;
        oOptions.anchor = {2024, 12, 15};
        oOptions.dataFolder = common::modMain::GetUserDataPath();
        oOptions.reportsXml = ShippedReports();
        m_oProfile = st::GenerateSampleProfile(m_oProfileDir, oOptions);
        platform::mapi::SetCurrentProfile(m_oProfileDir.string());
        oHost = std::make_shared<ol::Application>("16.0.0.0");
        oHost->Explorers()->Add();
        oAddIn.reset(TallymanCreateAddIn());
        rt::Variant custom;
        oAddIn->OnConnection(oHost, 0, rt::Variant(), custom);
    }
    void TearDown() override
    {
        rt::Variant custom;
        if (oAddIn)
            oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        common::modRedemption::ReleaseSession(true);
        platform::mapi::SetCurrentProfile("");
        m_oProfile.reset();
        ShellFixture::TearDown();
    }
    static std::string ShippedReports()
    {
        const char* sSource = std::getenv("TV_SOURCE_DIR");
        std::ifstream oIn(std::filesystem::path(sSource ? sSource : ".") / "resources" / "samples" /
                              "reports.xml",
                          std::ios::binary);
        return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    }
    void ClickReportButton()
    {
        oAddIn->InvokeCallback("RibbonButtonClick",
                               std::make_shared<ol::IRibbonControl>("ShowReport"));
    }
    shell::frmMain& Window() { return *G().g_oApplication->MainForm(); }
    platform::forms::FlexGrid& Grid() { return Window().fg(); }

    // TotalWork of the view's items straight from the store: per task status and overall.
    struct Sums
    {
        std::map<std::int32_t, double> perStatus;
        double total = 0;
        int items = 0;
    };
    Sums StoreSums(views::ViewSettings& oView)
    {
        Sums sums;
        for (const auto& oFolder : *oView.Folders()) {
            auto oStore = m_oProfile->OpenStore(oFolder->StoreID());
            const auto status = oStore->GetIdFromName(
                st::NamedProperty::Lid(st::PSETID_Task, st::props::LID_TaskStatus));
            const auto work = oStore->GetIdFromName(
                st::NamedProperty::Lid(st::PSETID_Task, st::props::LID_TaskTotalWork));
            for (const auto& oItem : oStore->Items(oFolder->EntryID())) {
                const auto vStatus =
                    oStore->GetItemProperty(oItem.entryId, st::MakeTag(*status, st::PT_LONG));
                const auto vWork =
                    oStore->GetItemProperty(oItem.entryId, st::MakeTag(*work, st::PT_LONG));
                const double dWork = vWork ? std::get<std::int32_t>(*vWork) : 0;
                sums.perStatus[vStatus ? std::get<std::int32_t>(*vStatus) : -1] += dWork;
                sums.total += dWork;
                ++sums.items;
            }
        }
        return sums;
    }
    // The grid's value-column sums by outline level of the total rows, and its data rows.
    struct GridSums
    {
        std::vector<double> groups;
        std::vector<double> totals;
        int dataRows = 0;
    };
    GridSums GridTotals(const std::string& sKey)
    {
        auto& fg = Grid();
        auto oField = Window().GetViewSettings()->Fields()->Item(rt::Variant(sKey));
        const int c = fg.ColIndex(oField->CalculatedColKey());
        GridSums sums;
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r) {
            if (!fg.IsSubtotal(r))
                ++sums.dataRows;
            else if (fg.RowOutlineLevel(r) == 0)
                sums.totals.push_back(fg.ValueMatrix(r, c));
            else
                sums.groups.push_back(fg.ValueMatrix(r, c));
        }
        std::sort(sums.groups.begin(), sums.groups.end());
        return sums;
    }
    void ExpectGridMatchesStore()
    {
        const auto store = StoreSums(*Window().GetViewSettings());
        const auto grid = GridTotals(kTotalWork);
        ASSERT_GT(store.items, 0);
        EXPECT_EQ(grid.dataRows, store.items);
        std::vector<double> expected;
        for (const auto& [status, sum] : store.perStatus)
            expected.push_back(sum);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(grid.groups, expected);
        EXPECT_EQ(grid.totals, std::vector<double>{store.total});
    }

    std::filesystem::path m_oProfileDir;
    std::shared_ptr<st::Profile> m_oProfile;
    std::shared_ptr<ol::Application> oHost;
    std::unique_ptr<ol::IAddIn> oAddIn;
};

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

    oWindow.CommandbarClick("refresh");
    ExpectGridMatchesStore();
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());
    EXPECT_EQ(ErrorLog(), "");
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

} // namespace
