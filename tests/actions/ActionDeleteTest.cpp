#include "tests/actions/ActionFixture.h"

#include "actions/ActionDelete.h"
#include "actions/ActionSave.h"

namespace actions::test {
namespace {

namespace pf = platform::forms;
using ActionDeleteTest = ActionFixture;

TEST_F(ActionDeleteTest, AsksWithTheFullPathAndDeletesOnlyOnYes)
{
    struct Case
    {
        int lAnswer;
        bool bDeleted;
    };
    for (const Case& c : {Case{pf::vbNo, false}, Case{pf::vbYes, true}}) {
        pf::Driver::current().Reset();
        const std::string sFile = SaveReport("Bericht März.csv", "a;b", 0);
        pf::Driver::current().QueueMsgBoxAnswer(c.lAnswer);
        oAction.GetDeleteAction()->Execute(true);
        ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), 1u);
        const auto& box = pf::Driver::current().MessageBoxes()[0];
        EXPECT_EQ(box.prompt, "Do you wish to delete the file '" + sFile + "'?");
        EXPECT_EQ(box.buttons, 36);
        EXPECT_EQ(std::filesystem::exists(sFile), !c.bDeleted);
        EXPECT_EQ(oAction.GetSaveAction()->SavedAs(), c.bDeleted ? "" : sFile);
    }
}

TEST_F(ActionDeleteTest, WithoutTheQuestionTheFileGoesAndLaterActionsFindNone)
{
    const std::string sFile = SaveReport("report.csv", "a;b", 0);
    oAction.GetDeleteAction()->Execute(false);
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
    EXPECT_FALSE(std::filesystem::exists(sFile));
    EXPECT_EQ(oAction.GetSaveAction()->SavedAs(), "");
    oAction.GetOpenAction()->Execute();
    EXPECT_TRUE(oShell.requests().empty());
}

TEST_F(ActionDeleteTest, NothingIsAskedWithoutASavedFile)
{
    oAction.GetDeleteAction()->Execute(true);
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
}

TEST_F(ActionDeleteTest, FileThatCannotBeDeletedKeepsSavedAs)
{
    // A folder in the file's place cannot be deleted as a file.
    const auto oFolder = Dir() / "report.csv";
    std::filesystem::create_directories(oFolder / "inside");
    oAction.GetSaveAction()->SetSavedAs(oFolder.string());
    const auto oError = Raised([&] { oAction.GetDeleteAction()->Execute(false); });
    ASSERT_TRUE(oError);
    EXPECT_NE(oError->Source().find("ActionDelete.Execute"), std::string::npos);
    EXPECT_EQ(oAction.GetSaveAction()->SavedAs(), oFolder.string());
}

} // namespace
} // namespace actions::test
