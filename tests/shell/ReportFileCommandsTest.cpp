// The report window's report-file commands over the sample profile: saving, the automatic
// actions after a read and the enabled commands.
#include "ReportWindowFixture.h"

#include "actions/Action.h"
#include "actions/ActionOpen.h"
#include "actions/ActionSave.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Session.h"
#include "platform/win/FileIo.h"
#include "platform/win/RecordingShell.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>

namespace shell_test {

namespace {

class ReportFileCommandsTest : public ReportWindowTest
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        platform::forms::Driver::current().Reset();
        ClickReportButton();
        oOut = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "Berichte (alt)";
        auto& oSave = Save();
        oSave.SetPath(oOut.string());
        oSave.SetAction(1);
        oSave.SetFilename("Übersicht");
        oSave.SetReportFormat(0);
        oSave.SetReportExists(3);
    }
    actions::ActionSave& Save() { return *Window().GetViewSettings()->Action()->GetSaveAction(); }
    int DataRows()
    {
        int n = 0;
        for (int r = Grid().FixedRows(); r < Grid().Rows(); ++r)
            n += Grid().IsSubtotal(r) ? 0 : 1;
        return n;
    }
    int Lines(const std::string& sFile)
    {
        std::ifstream oIn(sFile, std::ios::binary);
        const std::string s{std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
        const auto n = std::count(s.begin(), s.end(), '\n');
        return static_cast<int>(n + (!s.empty() && s.back() != '\n' ? 1 : 0));
    }
    bool MenuEnabled(const std::string& sKey)
    {
        return Window().MenuBar1().Items().Item(sKey)->Enabled();
    }
    bool ButtonEnabled(const std::string& sKey)
    {
        return Window().Coolbar1().Button(sKey)->Enabled();
    }

    std::filesystem::path oOut;
};

TEST_F(ReportFileCommandsTest, SaveasWritesTheGridAndEnablesDelete)
{
    ASSERT_GT(DataRows(), 0);
    EXPECT_FALSE(MenuEnabled("deletereport"));
    Window().CommandbarClick("saveas");
    EXPECT_EQ(Save().SavedAs(), (oOut / "Übersicht.csv").string());
    EXPECT_EQ(Lines(Save().SavedAs()), DataRows() + 1);
    EXPECT_TRUE(Window().ReportSaved());
    EXPECT_TRUE(MenuEnabled("deletereport"));

    // Saved again: the running number, the first file kept.
    Window().CommandbarClick("saveas");
    EXPECT_EQ(Save().SavedAs(), (oOut / "Übersicht (1).csv").string());
    EXPECT_TRUE(std::filesystem::exists(oOut / "Übersicht.csv"));
    EXPECT_TRUE(platform::forms::Driver::current().MessageBoxes().empty());
}

TEST_F(ReportFileCommandsTest, AnEmptyReportSavesNothingAndDisablesItsCommands)
{
    Window().GetViewSettings()->Filter()->SetSubjectCondition(engine::trEquals, "keiner heißt so");
    Window().CommandbarClick("refresh");
    ASSERT_EQ(Window().Records()->Count(), 0);
    Save().SetAction(0);
    Window().CommandbarClick("saveas");
    EXPECT_TRUE(platform::forms::Driver::current().Dialogs().empty());
    EXPECT_FALSE(std::filesystem::exists(oOut));
    for (const char* sKey : {"saveas", "openreport", "sendreport", "print"}) {
        EXPECT_FALSE(MenuEnabled(sKey)) << sKey;
        EXPECT_FALSE(ButtonEnabled(sKey)) << sKey;
    }
    for (const char* sKey : {"expand", "collapse", "deletereport"})
        EXPECT_FALSE(MenuEnabled(sKey)) << sKey;
    EXPECT_TRUE(ButtonEnabled("setview"));
    EXPECT_TRUE(MenuEnabled("expand_context"));
}

TEST_F(ReportFileCommandsTest, AutomaticSaveFollowsEveryReadAndCommandsWaitForASave)
{
    Save().SetAutoExecute(true);
    Window().CommandbarClick("refresh");
    EXPECT_EQ(Save().SavedAs(), (oOut / "Übersicht.csv").string());
    EXPECT_TRUE(Window().ReportSaved());
    EXPECT_TRUE(MenuEnabled("deletereport"));

    // A refresh clicked while the save lets messages run waits for the save's end; its read
    // then forgets the saved file.
    Save().SetAutoExecute(false);
    bool bPosted = false;
    platform::win::MessageLoop::main().post([&] {
        bPosted = true;
        Window().CommandbarClick("refresh");
    });
    Window().CommandbarClick("saveas");
    EXPECT_TRUE(bPosted);
    EXPECT_TRUE(std::filesystem::exists(oOut / "Übersicht (1).csv"));
    EXPECT_TRUE(Save().SavedAs().empty());
    EXPECT_FALSE(Window().ReportSaved());
}

TEST_F(ReportFileCommandsTest, AnAutomaticSaveThatIsCancelledOrFailsLeavesTheReportUnsaved)
{
    for (const bool bFail : {false, true}) {
        SCOPED_TRACE(bFail ? "failed" : "cancelled");
        Save().SetAction(1);
        Save().SetAutoExecute(false);
        Window().CommandbarClick("saveas");
        ASSERT_TRUE(Window().ReportSaved());
        Save().SetAutoExecute(true);
        std::optional<platform::win::ScopedWriteFault> oDiskFull;
        if (bFail) {
            oDiskFull.emplace([](int, const char*, std::size_t) -> ssize_t {
                errno = ENOSPC;
                return -1;
            });
        } else {
            Save().SetAction(0);
            platform::forms::Driver::current().QueueDialogAnswer("");
        }
        Window().CommandbarClick("refresh");
        oDiskFull.reset();
        EXPECT_FALSE(Window().ReportSaved());
        EXPECT_FALSE(MenuEnabled("deletereport"));
    }
}

TEST_F(ReportFileCommandsTest, OpenSavesOnlyWhenNeededAndDeleteForgetsTheFile)
{
    platform::win::RecordingShell oShell;
    platform::win::ScopedShell oScope(oShell);
    Window().GetViewSettings()->Action()->GetOpenAction()->SetEditor(0);
    const std::string sFile = (oOut / "Übersicht.csv").string();
    const auto ExpectOpened = [&](std::size_t nRequests, const char* sStep) {
        ASSERT_EQ(oShell.requests().size(), nRequests) << sStep;
        EXPECT_EQ(oShell.requests().back().parameters, "\"" + sFile + "\"") << sStep;
        EXPECT_EQ(Lines(sFile), DataRows() + 1) << sStep;
        EXPECT_TRUE(Window().ReportSaved()) << sStep;
        EXPECT_TRUE(MenuEnabled("deletereport")) << sStep;
    };

    // Not saved yet: the report is written first, then opened.
    Window().CommandbarClick("openreport");
    ExpectOpened(1, "first open");
    // Saved: the same file opens again, nothing is written anew.
    Window().CommandbarClick("openreport");
    ExpectOpened(2, "second open");
    EXPECT_FALSE(std::filesystem::exists(oOut / "Übersicht (1).csv"));

    platform::forms::Driver::current().QueueMsgBoxAnswer(platform::forms::vbYes);
    Window().CommandbarClick("deletereport");
    EXPECT_FALSE(std::filesystem::exists(sFile));
    EXPECT_FALSE(Window().ReportSaved());
    EXPECT_FALSE(MenuEnabled("deletereport"));

    // After the delete the next command writes the report again instead of finding no file.
    Window().CommandbarClick("openreport");
    ExpectOpened(3, "open after delete");
    ASSERT_EQ(platform::forms::Driver::current().MessageBoxes().size(), 1u);
    EXPECT_NE(platform::forms::Driver::current().MessageBoxes()[0].prompt.find(sFile),
              std::string::npos);
}

TEST_F(ReportFileCommandsTest, PrintAndSendWriteTheReportOnceThenUseTheSavedFile)
{
    std::vector<std::shared_ptr<platform::mapi::Message>> vShown;
    platform::mapi::SetDisplayHandler(
        [&](const std::shared_ptr<platform::mapi::Message>& m) { vShown.push_back(m); });
    const auto files = [&] {
        std::vector<std::string> v;
        for (const auto& oEntry : std::filesystem::directory_iterator(oOut))
            v.push_back(oEntry.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    };
    for (const char* sKey : {"print", "sendreport"}) {
        SCOPED_TRACE(sKey);
        Window().CommandbarClick("refresh");
        ASSERT_FALSE(Window().ReportSaved());
        std::filesystem::remove_all(oOut);
        platform::forms::Driver::current().Reset();
        Window().CommandbarClick(sKey);
        EXPECT_EQ(Save().SavedAs(), (oOut / "Übersicht.csv").string());
        EXPECT_EQ(Lines(Save().SavedAs()), DataRows() + 1);
        EXPECT_TRUE(Window().ReportSaved());
        EXPECT_TRUE(MenuEnabled("deletereport"));
        // Saved: the command uses the file it has.
        Window().CommandbarClick(sKey);
        EXPECT_EQ(files(), std::vector<std::string>{"Übersicht.csv"});
    }
    platform::mapi::SetDisplayHandler({});
    // The mail of each send shows the report.
    ASSERT_EQ(vShown.size(), 2u);
    for (const auto& oMail : vShown)
        EXPECT_GE(oMail->GetAttachments()->Count(), 1);
}

TEST_F(ReportFileCommandsTest, AFailedSaveForgetsTheEarlierFileAndTheNextCommandSavesAgain)
{
    platform::win::RecordingShell oShell;
    platform::win::ScopedShell oScope(oShell);
    Window().GetViewSettings()->Action()->GetOpenAction()->SetEditor(0);
    Window().CommandbarClick("saveas");
    ASSERT_TRUE(Window().ReportSaved());
    ASSERT_TRUE(MenuEnabled("deletereport"));
    EXPECT_EQ(Window().LastExported(), Save().SavedAs());

    // Asked for a name, the user picks a type no exporter writes: the save fails, and the
    // window no longer answers the earlier file as its last export.
    auto& oDriver = platform::forms::Driver::current();
    Save().SetAction(0);
    oDriver.QueueDialogAnswer((oOut / "Report.txt").string());
    Window().CommandbarClick("saveas");
    ASSERT_EQ(oDriver.MessageBoxes().size(), 1u);
    EXPECT_TRUE(Window().LastExported().empty()) << Window().LastExported();
    EXPECT_TRUE(Save().SavedAs().empty());
    EXPECT_FALSE(Window().ReportSaved());
    EXPECT_FALSE(MenuEnabled("deletereport"));

    // The next open writes the report again and opens that file.
    Save().SetAction(1);
    Window().CommandbarClick("openreport");
    ASSERT_EQ(oShell.requests().size(), 1u);
    EXPECT_EQ(oShell.requests().back().parameters, "\"" + Save().SavedAs() + "\"");
    EXPECT_EQ(Save().SavedAs(), (oOut / "Übersicht (1).csv").string());
    EXPECT_TRUE(Window().ReportSaved());
    EXPECT_TRUE(MenuEnabled("deletereport"));

    // A moved column asks for a new save before the print; when that save fails, the file
    // of the earlier save is no longer offered for deletion.
    Grid().UserMoveColumn(2, 1);
    ASSERT_FALSE(Window().ReportSaved());
    ASSERT_TRUE(MenuEnabled("deletereport"));
    Save().SetAction(0);
    oDriver.QueueDialogAnswer((oOut / "Report.txt").string());
    Window().CommandbarClick("print");
    EXPECT_EQ(oDriver.MessageBoxes().size(), 2u);
    EXPECT_FALSE(Window().ReportSaved());
    EXPECT_FALSE(MenuEnabled("deletereport"));
}

TEST_F(ReportFileCommandsTest, AReportGoneBeforeARichTextMailStopsTheMailWithAMessage)
{
    std::vector<std::string> vShown;
    platform::mapi::SetDisplayHandler(
        [&](const std::shared_ptr<platform::mapi::Message>& m) { vShown.push_back(m->Subject()); });
    oHost->SetNewMailBodyFormat(3);
    Window().CommandbarClick("saveas");
    const std::string sFile = Save().SavedAs();
    ASSERT_TRUE(std::filesystem::remove(sFile));
    // The mail would only be shown; without its report it is not, and the user hears why.
    Window().CommandbarClick("sendreport");
    platform::mapi::SetDisplayHandler({});
    EXPECT_TRUE(vShown.empty());
    const auto& vBoxes = platform::forms::Driver::current().MessageBoxes();
    ASSERT_EQ(vBoxes.size(), 1u);
    EXPECT_NE(vBoxes[0].prompt.find(sFile), std::string::npos) << vBoxes[0].prompt;
    EXPECT_EQ(vBoxes[0].buttons, 48);
}

TEST_F(ReportFileCommandsTest, DeleteAnsweredNoKeepsTheFileAndItsCommands)
{
    Window().CommandbarClick("saveas");
    const std::string sFile = Save().SavedAs();
    ASSERT_TRUE(std::filesystem::exists(sFile));
    platform::forms::Driver::current().QueueMsgBoxAnswer(platform::forms::vbNo);
    Window().CommandbarClick("deletereport");
    EXPECT_TRUE(std::filesystem::exists(sFile));
    EXPECT_EQ(Save().SavedAs(), sFile);
    EXPECT_TRUE(Window().ReportSaved());
    EXPECT_TRUE(MenuEnabled("deletereport"));
}

} // namespace

} // namespace shell_test
