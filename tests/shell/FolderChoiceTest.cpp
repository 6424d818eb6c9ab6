#include "ReportWindowFixture.h"

#include "engine/Record.h"
#include "engine/Records.h"
#include "platform/forms/GridControl.h"
#include "platform/mapi/Session.h"
#include "platform/outlook/NameSpace.h"

#include <gmock/gmock.h>

#include <set>

namespace {

using namespace shell_test;
namespace pf = platform::forms;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The report window's folder choice: the folder picker answered through the forms driver.
class FolderChoiceTest : public ReportWindowTest
{
protected:
    // The picker's tree.
    static pf::FlexGrid& Tree(pf::Form& oPicker)
    {
        return dynamic_cast<pf::GridControl&>(*oPicker.FindControl("fg")).Grid();
    }
    // Ticks the folder sFolder directly under the store sStore.
    static void Tick(pf::Form& oPicker, const std::string& sStore, const std::string& sFolder)
    {
        auto& oTree = Tree(oPicker);
        int r = 0;
        while (r < oTree.Rows() && oTree.TextMatrix(r, 0) != " " + sStore)
            ++r;
        for (++r; r < oTree.Rows() && oTree.RowOutlineLevel(r) > 0; ++r)
            if (oTree.RowOutlineLevel(r) == 1 &&
                oTree.TextMatrix(r, 0).rfind(" " + sFolder + " (", 0) == 0) {
                oTree.UserToggleCheck(r, 0);
                return;
            }
        ADD_FAILURE() << "no folder " << sStore << "/" << sFolder;
    }
    static void Click(pf::Form& oPicker, const std::string& sButton)
    {
        dynamic_cast<pf::CommandButton&>(*oPicker.FindControl(sButton)).Click();
    }
    // Answers the next folder picker with the folders given as store and folder names.
    static void QueuePick(std::vector<std::pair<std::string, std::string>> vFolders)
    {
        pf::Driver::current().QueueModal("frmDialog", [vFolders](pf::Form& oPicker) {
            for (const auto& [sStore, sFolder] : vFolders)
                Tick(oPicker, sStore, sFolder);
            Click(oPicker, "cmdOK");
        });
    }
    // The entry identifier of a folder of a store of the sample profile.
    std::string FolderID(const std::string& sStore, const std::string& sFolder)
    {
        for (const auto& oInfo : m_oProfile->Stores())
            if (oInfo.name == sStore)
                for (const auto& oFolder :
                     m_oProfile->OpenStore(oInfo.entryId)
                         ->SubFolders(m_oProfile->OpenStore(oInfo.entryId)->RootFolder().entryId))
                    if (oFolder.name == sFolder)
                        return oFolder.entryId;
        ADD_FAILURE() << "no folder " << sStore << "/" << sFolder;
        return {};
    }
    std::vector<std::string> ViewFolderIDs()
    {
        std::vector<std::string> vIDs;
        if (auto oFolders = Window().GetViewSettings()->Folders())
            for (const auto& oFolder : *oFolders)
                vIDs.push_back(oFolder->EntryID());
        return vIDs;
    }
    std::set<std::string> RecordStores()
    {
        std::set<std::string> oStores;
        for (const auto& oRecord : *Window().Records())
            oStores.insert(oRecord->StoreID());
        return oStores;
    }
    std::string StoreID(const std::string& sStore)
    {
        for (const auto& oInfo : m_oProfile->Stores())
            if (oInfo.name == sStore)
                return oInfo.entryId;
        return {};
    }
};

TEST_F(FolderChoiceTest, SelectReadsTheFoldersPickedFromTwoStores)
{
    ClickReportButton();
    QueuePick({{"Persönliche Ordner", "Kalender"}, {"Öffentliche Ordner", "Firmenkalender"}});
    Window().CommandbarClick("select");
    EXPECT_THAT(ViewFolderIDs(), ElementsAre(FolderID("Persönliche Ordner", "Kalender"),
                                             FolderID("Öffentliche Ordner", "Firmenkalender")));
    const auto oFolders = Window().GetViewSettings()->Folders();
    EXPECT_EQ(oFolders->Item(2)->StoreID(), StoreID("Öffentliche Ordner"));
    EXPECT_EQ(oFolders->Item(2)->Name(), "Firmenkalender");
    EXPECT_GT(oFolders->Item(2)->ItemsCount(), 0);
    EXPECT_EQ(RecordStores(), (std::set<std::string>{StoreID("Persönliche Ordner"),
                                                     StoreID("Öffentliche Ordner")}));
    EXPECT_EQ(Window().MousePointer(), 0);
    EXPECT_THAT(pf::Driver::current().MessageBoxes(), IsEmpty());
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(FolderChoiceTest, ACancelledPickerChangesNothing)
{
    ClickReportButton();
    const auto vBefore = ViewFolderIDs();
    const auto oRecords = Window().Records()->Count();
    const auto lRows = Grid().Rows();
    ASSERT_FALSE(vBefore.empty());
    pf::Driver::current().QueueModal("frmDialog", [](pf::Form& oPicker) {
        Tick(oPicker, "Archiv", "Kalender");
        Click(oPicker, "cmdCancel");
    });
    Window().CommandbarClick("select");
    EXPECT_EQ(ViewFolderIDs(), vBefore);
    EXPECT_EQ(Window().Records()->Count(), oRecords);
    EXPECT_EQ(Grid().Rows(), lRows);
    EXPECT_EQ(Window().MousePointer(), 0);
    EXPECT_THAT(pf::Driver::current().MessageBoxes(), IsEmpty());
}

TEST_F(FolderChoiceTest, FoldersRemovedStayRemovedAcrossReopeningUntilSelectedAgain)
{
    ClickReportButton();
    Window().cboTemplate().SetText(kTasks);
    ASSERT_GT(Window().Records()->Count(), 0);
    Window().CommandbarClick("remove_folder");
    EXPECT_THAT(ViewFolderIDs(), IsEmpty());
    EXPECT_EQ(Window().Records()->Count(), 0);
    EXPECT_EQ(Grid().Rows(), Grid().FixedRows());

    Window().CommandbarClick("exit");
    ClickReportButton();
    Window().cboTemplate().SetText(kTasks);
    EXPECT_THAT(ViewFolderIDs(), IsEmpty());
    EXPECT_EQ(Window().Records()->Count(), 0);

    QueuePick({{"Öffentliche Ordner", "Gemeinsame Aufgaben"}});
    Window().CommandbarClick("select");
    EXPECT_THAT(ViewFolderIDs(),
                ElementsAre(FolderID("Öffentliche Ordner", "Gemeinsame Aufgaben")));
    EXPECT_GT(Window().Records()->Count(), 0);
    EXPECT_EQ(RecordStores(), std::set<std::string>{StoreID("Öffentliche Ordner")});
    EXPECT_THAT(pf::Driver::current().MessageBoxes(), IsEmpty());
}

TEST_F(FolderChoiceTest, AReadWithoutASessionKeepsTheViewsFolders)
{
    ClickReportButton();
    const auto vFolders = ViewFolderIDs();
    ASSERT_EQ(vFolders, std::vector<std::string>{FolderID("Persönliche Ordner", "Kalender")});
    // Closing the window ends the engine's session; the client then loses its profile, so the
    // engine's next session cannot be had while the add-in keeps its own.
    Window().CommandbarClick("exit");
    oHost->GetNamespace("MAPI")->Session()->Logoff();
    platform::mapi::SetCurrentProfile((m_oProfileDir.parent_path() / "nowhere").string());
    ClickReportButton();
    ASSERT_TRUE(Window().IsLoaded());
    EXPECT_EQ(pf::Driver::current().MessageBoxes().size(), 1U);
    EXPECT_EQ(ViewFolderIDs(), vFolders);
    EXPECT_EQ(Window().Records()->Count(), 0);

    platform::mapi::SetCurrentProfile(m_oProfileDir.string());
    Window().CommandbarClick("refresh");
    EXPECT_EQ(ViewFolderIDs(), vFolders);
    EXPECT_GT(Window().Records()->Count(), 0);
}

TEST_F(FolderChoiceTest, AFolderThatIsGoneLeavesTheView)
{
    ClickReportButton();
    QueuePick({{"Persönliche Ordner", "Kalender"}, {"Öffentliche Ordner", "Firmenkalender"}});
    Window().CommandbarClick("select");
    ASSERT_EQ(ViewFolderIDs().size(), 2U);
    auto oGone = std::make_shared<engine::FolderData>();
    oGone->Init("00GONE", StoreID("Archiv"), "Weg", 0, false);
    Window().GetViewSettings()->Folders()->Add(oGone);
    Window().CommandbarClick("refresh");
    EXPECT_THAT(ViewFolderIDs(), ElementsAre(FolderID("Persönliche Ordner", "Kalender"),
                                             FolderID("Öffentliche Ordner", "Firmenkalender")));
}

} // namespace
