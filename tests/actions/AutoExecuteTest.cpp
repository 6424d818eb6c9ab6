// The automatic actions after a read, run by the real actions on a filled report grid: the
// save writes the file, the mail goes out with it, the printer prints it, and the delete
// removes it without asking.
#include "tests/actions/PrintJobs.h"
#include "tests/actions/SaveFixture.h"

#include "common/modOLVersion.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/MsgFile.h"
#include "platform/mapi/Session.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Error.h"
#include "platform/win/RecordingShell.h"
#include "platform/win/Shell.h"
#include "printer/PrinterObject.h"
#include "printer/detail/PrinterSettingsAccess.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <unistd.h>

namespace actions::test {
namespace {

namespace fs = std::filesystem;
namespace mapi = platform::mapi;
namespace printing = platform::printing;
using printing::testing::kNullQueue;
using printing::testing::kPdfQueue;

class AutoExecuteTest : public SaveFixture
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        if (const std::string sWhy = MissingTestQueues(); !sWhy.empty())
            GTEST_SKIP() << sWhy;
        m_oShellScope.emplace(oShell);
        common::modOLVersion::ResetOutlookVersion();
        auto oApp = std::make_shared<platform::outlook::Application>("16.0.4266.1001");
        oApp->SetNewMailBodyFormat(1);
        common::modMain::G().g_oOutlookApp = oApp;
        mapi::SetDisplayHandler([this](const std::shared_ptr<mapi::Message>& m) {
            vShown.push_back(m);
        });
        // The file name is the print job's title and the printed PDF's name: one of its own
        // per test process.
        sStem = "tvauto" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Save().SetFilename(sStem);
        Save().SetAutoExecute(true);
        MarkSend();
        MarkPrint(kPdfQueue);
        oReport->Action()->GetDeleteAction()->SetAutoExecute(true);
    }

    void TearDown() override
    {
        mapi::SetDisplayHandler({});
        common::modMain::G().g_oOutlookApp.reset();
        common::modOLVersion::ResetOutlookVersion();
        m_oShellScope.reset();
        SaveFixture::TearDown();
    }

    // Send at once from a template with a recipient.
    void MarkSend()
    {
        namespace st = platform::store;
        mapi::MsgFileContent oContent;
        oContent.properties = {{st::props::PR_SUBJECT, st::PropValue{"Wochenbericht"}},
                               {st::props::PR_BODY, st::PropValue{"Anbei der Bericht."}}};
        oContent.recipients = {{st::RecipientType::To, "Team", "team@kestrova.example", true}};
        mapi::WriteMsgFile(PathOf("Vorlage.oft"), oContent);
        auto* oSend = oReport->Action()->GetSendAction();
        oSend->SetMailTemplate(PathOf("Vorlage.oft"));
        oSend->SetMailAction(1);
        oSend->SetAutoExecute(true);
    }

    void MarkPrint(const std::string& sQueue)
    {
        auto* oPrint = oReport->Action()->GetPrintAction();
        auto oSettings = printer::PrinterObject().GetPrinterSettings(sQueue);
        ASSERT_NE(oSettings, nullptr);
        oPrint->SetPrinterSettings(oSettings);
        oPrint->SetPrintAction(1);
        oPrint->SetAutoExecute(true);
    }

    std::shared_ptr<mapi::Items> Folder(long lFolder)
    {
        return common::modRedemption::g_Session()->GetDefaultFolder(lFolder)->GetItems();
    }

    std::string FileName() const { return sStem + ".csv"; }

    platform::win::RecordingShell oShell;
    std::vector<std::shared_ptr<mapi::Message>> vShown;
    std::string sStem;

private:
    std::optional<platform::win::ScopedShell> m_oShellScope;
};

TEST_F(AutoExecuteTest, SavedReportIsMailedPrintedAndDeletedWithoutAQuestion)
{
    oReport->Action()->AutoExecute(false);

    // Saved, then gone without a question.
    EXPECT_FALSE(fs::exists(Out(FileName())));
    EXPECT_EQ(Save().SavedAs(), "");
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
    EXPECT_TRUE(pf::Driver::current().Dialogs().empty());

    // The mail went out through the Outbox with the file as the save wrote it.
    EXPECT_TRUE(vShown.empty());
    EXPECT_EQ(Folder(mapi::olFolderOutbox)->Count(), 0);
    EXPECT_EQ(Folder(mapi::olFolderDrafts)->Count(), 0);
    auto oSent = Folder(mapi::olFolderSentMail);
    ASSERT_EQ(oSent->Count(), 1);
    auto oMail = oSent->Item(1);
    EXPECT_EQ(oMail->Subject(), "Wochenbericht");
    EXPECT_TRUE(oMail->Sent());
    ASSERT_EQ(oMail->GetAttachments()->Count(), 1);
    EXPECT_EQ(oMail->GetAttachments()->FileName(1), FileName());
    EXPECT_GT(oMail->GetAttachments()->Size(1), 0);

    // The printer got the report before the file went.
    const int lJob = BackgroundJob(kPdfQueue, FileName());
    ASSERT_GT(lJob, 0);
    ASSERT_EQ(printing::testing::WaitForJob(kPdfQueue, lJob, std::chrono::seconds(120)),
              IPP_JSTATE_COMPLETED);
    const fs::path oPdf = PrintedPdf(sStem);
    ASSERT_FALSE(oPdf.empty());
    const std::string sText = Output("pdftotext '" + oPdf.string() + "' -");
    for (const char* sCell : {"Betreff", "Kategorie", "Dauer", "Rot", "Blau"})
        EXPECT_NE(sText.find(sCell), std::string::npos) << sCell << "\n" << sText;
    std::error_code ec;
    fs::remove(oPdf, ec);
}

TEST_F(AutoExecuteTest, PrinterThatIsGoneStopsTheRunBeforeTheDelete)
{
    auto oSettings = oReport->Action()->GetPrintAction()->PrinterSettings();
    printer::detail::PrinterSettingsAccess::SetPrinterName(*oSettings, "NoSuchPrinter-4711");
    try {
        oReport->Action()->AutoExecute(false);
        ADD_FAILURE() << "no error for a missing printer";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), printing::errors::PrinterNotFound);
        EXPECT_NE(e.Source().find("ActionPrint.Execute"), std::string::npos) << e.Source();
    }
    // Mailed before the print failed; the file stays for the user to print again.
    EXPECT_EQ(Folder(mapi::olFolderSentMail)->Count(), 1);
    EXPECT_TRUE(fs::exists(Out(FileName())));
    EXPECT_EQ(Save().SavedAs(), Out(FileName()));
}

TEST_F(AutoExecuteTest, OpenedReportIsNeitherMailedPrintedNorDeleted)
{
    oReport->Action()->GetOpenAction()->SetAutoExecute(true);
    oReport->Action()->AutoExecute(false);
    EXPECT_TRUE(fs::exists(Out(FileName())));
    EXPECT_EQ(oShell.requests().size(), 1u);
    EXPECT_EQ(Folder(mapi::olFolderSentMail)->Count(), 0);
    EXPECT_EQ(BackgroundJob(kPdfQueue, FileName()), 0);
}

TEST_F(AutoExecuteTest, AfterAManualSaveTheRunStartsWithTheMail)
{
    // The user saved by hand under another name; the automatic save does not write again.
    const std::string sManualName = sStem + " von Hand.csv";
    const std::string sManual = Out(sManualName);
    std::ofstream(sManual, std::ios::binary) << "Betreff;Kategorie\r\nPlan;Rot\r\n";
    Save().SetSavedAs(sManual);
    MarkPrint(kNullQueue);
    oReport->Action()->AutoExecute(true);
    EXPECT_FALSE(fs::exists(Out(FileName())));
    EXPECT_FALSE(fs::exists(sManual));
    auto oSent = Folder(mapi::olFolderSentMail);
    ASSERT_EQ(oSent->Count(), 1);
    EXPECT_EQ(oSent->Item(1)->GetAttachments()->FileName(1), sManualName);
    EXPECT_GT(BackgroundJob(kNullQueue, sManualName), 0);
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
}

} // namespace
} // namespace actions::test
