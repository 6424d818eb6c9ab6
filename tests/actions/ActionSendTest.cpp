#include "NoticeRecorder.h"
#include "tests/actions/ActionFixture.h"

#include "actions/ActionSend.h"
#include "common/modRedemption.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/MsgFile.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/Session.h"
#include "platform/store/KnownProperties.h"

namespace actions::test {
namespace {

namespace mapi = platform::mapi;
namespace st = platform::store;
namespace pf = platform::forms;

class ActionSendTest : public ActionFixture
{
protected:
    // A mail template file: subject, a plain and a rich-text body holding the placeholder in
    // another letter case, and a recipient when asked for.
    std::string WriteTemplate(const std::string& sName, bool bRecipient,
                              const std::string& sBody = "Hallo,\r\nanbei [@KESTROVA Report] "
                                                         "der Bericht.")
    {
        mapi::MsgFileContent oContent;
        oContent.properties = {{st::props::PR_SUBJECT, st::PropValue{"Wochenbericht"}},
                               {st::props::PR_BODY, st::PropValue{sBody}},
                               {0x1009001E, st::PropValue{"{\\rtf1\\ansi " + sBody + "}"}}};
        if (bRecipient)
            oContent.recipients = {
                {st::RecipientType::To, "Jörg Müller", "joerg@kestrova.de", true}};
        const auto oPath = Dir() / sName;
        mapi::WriteMsgFile(oPath.string(), oContent);
        return oPath.string();
    }

    std::shared_ptr<mapi::Items> Folder(long lFolder)
    {
        return common::modRedemption::g_Session()->GetDefaultFolder(lFolder)->GetItems();
    }
};

TEST_F(ActionSendTest, TemplateWithRecipientsIsSentAtOnceThroughTheOutbox)
{
    UseMailProfile(2);
    const std::string sFile = SaveReport("Bericht März.csv", "a;b", 0);
    auto* oSend = oAction.GetSendAction();
    oSend->SetMailTemplate(WriteTemplate("Vorlage.oft", true));
    oSend->SetMailAction(1);
    oSend->Execute();
    EXPECT_TRUE(vShown.empty());
    EXPECT_EQ(Folder(mapi::olFolderOutbox)->Count(), 0);
    EXPECT_EQ(Folder(mapi::olFolderDrafts)->Count(), 0);
    auto oSent = Folder(mapi::olFolderSentMail);
    ASSERT_EQ(oSent->Count(), 1);
    auto oMail = oSent->Item(1);
    EXPECT_EQ(oMail->Subject(), "Wochenbericht");
    EXPECT_TRUE(oMail->Sent());
    ASSERT_EQ(oMail->GetAttachments()->Count(), 1);
    EXPECT_EQ(oMail->GetAttachments()->FileName(1), "Bericht März.csv");
    EXPECT_EQ(oMail->GetAttachments()->Size(1), 3);
}

TEST_F(ActionSendTest, MailsThatMustNotBeSentAreShownFromDrafts)
{
    struct Case
    {
        std::string sWhat;
        bool bTemplate;
        bool bRecipient;
        std::int32_t lMailAction;
    };
    for (const Case& c : {Case{"template to show", true, true, 0},
                          Case{"template without recipients", true, false, 1},
                          Case{"new mail, set to send", false, false, 1},
                          Case{"template that cannot be read", false, false, 1}}) {
        UseMailProfile(1);
        vShown.clear();
        SaveReport("report.csv", "a;b", 0);
        auto* oSend = oAction.GetSendAction();
        oSend->SetMailAction(c.lMailAction);
        oSend->SetMailTemplate(c.bTemplate ? WriteTemplate("t.msg", c.bRecipient) : "");
        if (c.sWhat == "template that cannot be read")
            oSend->SetMailTemplate((Dir() / "missing.oft").string());
        oSend->Execute();
        ASSERT_EQ(vShown.size(), 1u) << c.sWhat;
        EXPECT_EQ(vShown[0]->GetAttachments()->Count(), 1) << c.sWhat;
        EXPECT_FALSE(vShown[0]->Sent()) << c.sWhat;
        auto oDrafts = Folder(mapi::olFolderDrafts);
        ASSERT_EQ(oDrafts->Count(), 1) << c.sWhat;
        EXPECT_EQ(oDrafts->Item(1)->GetAttachments()->FileName(1), "report.csv");
        EXPECT_EQ(Folder(mapi::olFolderSentMail)->Count(), 0) << c.sWhat;
        EXPECT_EQ(Folder(mapi::olFolderOutbox)->Count(), 0) << c.sWhat;
    }
}

TEST_F(ActionSendTest, AttachmentFollowsTheBodyFormat)
{
    struct Case
    {
        long lFormat;
        std::string sBody;
        long lPosition;
        bool bPlaceholderKept;
    };
    const std::string sWith = "Hallo,\r\nanbei [@KESTROVA Report] der Bericht.";
    for (const Case& c : {Case{1, sWith, -1, true}, Case{2, sWith, -1, true},
                          // "Hallo," CR LF "anbei " puts the placeholder at 15; one line
                          // break before it.
                          Case{3, sWith, 13, false}, Case{3, "Kein Platzhalter.", -1, false}}) {
        UseMailProfile(c.lFormat);
        vShown.clear();
        SaveReport("report.csv", "a;b", 0);
        oAction.GetSendAction()->SetMailTemplate(WriteTemplate("t.oft", false, c.sBody));
        oAction.GetSendAction()->Execute();
        ASSERT_EQ(vShown.size(), 1u);
        const auto& oMail = vShown[0];
        ASSERT_EQ(oMail->GetAttachments()->Count(), 1) << c.lFormat;
        EXPECT_EQ(oMail->GetAttachments()->Position(1), c.lPosition) << c.lFormat;
        const bool bKept = oMail->RTFBody().find("[@KESTROVA Report]") != std::string::npos;
        EXPECT_EQ(bKept, c.bPlaceholderKept && c.sBody == sWith) << c.lFormat;
    }
}

TEST_F(ActionSendTest, AReportThatCannotBeAttachedStopsTheMailInEveryFormat)
{
    // The saved file is gone before the mail is made: no format may send or show a mail
    // without the report; the error reaches the caller, who tells the user.
    for (const long lFormat : {1L, 2L, 3L}) {
        for (const std::int32_t lMailAction : {0, 1}) {
            UseMailProfile(lFormat);
            vShown.clear();
            const std::string sFile = SaveReport("report.csv", "a;b", 0);
            auto* oSend = oAction.GetSendAction();
            oSend->SetMailAction(lMailAction);
            oSend->SetMailTemplate(WriteTemplate("t.oft", true));
            std::filesystem::remove(sFile);
            NoticeRecorder oNotices;
            EXPECT_THROW(oSend->Execute(), platform::runtime::Error)
                << lFormat << "/" << lMailAction;
            // The program around hears that the mail asked for was not made.
            EXPECT_EQ(oNotices.TakeNotDone().size(), 1U) << lFormat << "/" << lMailAction;
            EXPECT_TRUE(vShown.empty()) << lFormat << "/" << lMailAction;
            EXPECT_EQ(Folder(mapi::olFolderSentMail)->Count(), 0) << lFormat;
            EXPECT_EQ(Folder(mapi::olFolderOutbox)->Count(), 0) << lFormat;
        }
    }
}

TEST_F(ActionSendTest, NewEmptyHtmlMailForAnHtmlReportGetsAnHtmlBody)
{
    UseMailProfile(2);
    SaveReport("report.html", "<html></html>", 1);
    oAction.GetSendAction()->Execute();
    ASSERT_EQ(vShown.size(), 1u);
    EXPECT_EQ(vShown[0]->HTMLBody(), " ");
    EXPECT_EQ(vShown[0]->GetAttachments()->Position(1), -1);
}

TEST_F(ActionSendTest, VersionNineTakesHtmlWithoutAskingTheClient)
{
    UseMailProfile(3);
    common::modMain::G().g_oOutlookApp =
        std::make_shared<platform::outlook::Application>("9.0.0.2711");
    common::modMain::G().g_oOutlookApp->SetNewMailBodyFormat(3);
    SaveReport("report.csv", "a;b", 0);
    oAction.GetSendAction()->SetMailTemplate(WriteTemplate("t.oft", false));
    oAction.GetSendAction()->Execute();
    ASSERT_EQ(vShown.size(), 1u);
    // HTML: attached without a position although the body holds the placeholder.
    EXPECT_EQ(vShown[0]->GetAttachments()->Position(1), -1);
}

TEST_F(ActionSendTest, NothingIsMailedWithoutASavedFile)
{
    UseMailProfile(2);
    oAction.GetSendAction()->SetMailAction(1);
    oAction.GetSendAction()->Execute();
    EXPECT_TRUE(vShown.empty());
    EXPECT_EQ(Folder(mapi::olFolderDrafts)->Count(), 0);
}

TEST_F(ActionSendTest, PickingATemplateFileTakesItsSubject)
{
    UseMailProfile(2);
    const std::string sTemplate = WriteTemplate("Vorlage.OFT", true);
    auto* oSend = oAction.GetSendAction();
    oSend->SetTemplateEntryID("entry");
    oSend->SetTemplateStoreID("store");
    auto& driver = pf::Driver::current();
    driver.QueueDialogAnswer(sTemplate);
    oSend->PickMailTemplateFromFile();
    EXPECT_EQ(oSend->MailTemplate(), sTemplate);
    EXPECT_EQ(oSend->TemplateSubject(), "Wochenbericht");
    EXPECT_EQ(oSend->TemplateEntryID(), "");
    EXPECT_EQ(oSend->TemplateStoreID(), "");

    // Another kind of file, or cancel, changes nothing; the dialog starts at the template.
    const auto oOther = Dir() / "notes.txt";
    std::ofstream(oOther) << "x";
    driver.QueueDialogAnswer(oOther.string());
    oSend->PickMailTemplateFromFile();
    driver.QueueDialogAnswer("");
    oSend->PickMailTemplateFromFile();
    EXPECT_EQ(oSend->MailTemplate(), sTemplate);
    EXPECT_EQ(driver.Dialogs().size(), 3u);
}

} // namespace
} // namespace actions::test
