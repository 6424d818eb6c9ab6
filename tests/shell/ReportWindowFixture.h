#pragma once

// The report window over the sample profile with the shipped templates, the add-in connected
// to a client: the fixture of the report window's tests.
#include "ShellFixture.h"

#include "common/FormPersitent.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "engine/FolderData.h"
#include "fieldcatalogue/Application.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/forms/ToolBar.h"
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
#include "shell/frmProgress.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

namespace shell_test {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
namespace st = platform::store;
using common::modMain::G;

inline const std::string kTasks = "Aufgaben nach Status";
inline const std::string kTotalWork = "{00062003-0000-0000-C000-000000000046}/TotalWork";
inline constexpr std::int64_t kCurrentUser =
    static_cast<std::int64_t>(platform::win::Hive::CurrentUser);

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
        ASSERT_FALSE(oOptions.reportsXml.empty()) << "the shipped reports.xml was not found";
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
        // CTest names the source tree; run by hand, the test finds it from its own file.
        const char* sSource = std::getenv("TV_SOURCE_DIR");
        const std::filesystem::path oSource =
            sSource ? std::filesystem::path(sSource)
                    : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
        std::ifstream oIn(oSource / "resources" / "samples" / "reports.xml", std::ios::binary);
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

} // namespace shell_test
