#include "tests/platform/mapi/MapiFixture.h"

#include "platform/mapi/AddressEntry.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/CreateObject.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/SafeItem.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/COMAddIn.h"
#include "platform/outlook/COMAddIns.h"
#include "platform/outlook/Folders.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/MailItem.h"
#include "platform/outlook/NameSpace.h"

namespace platform::outlook::test {

namespace rt = platform::runtime;
namespace st = platform::store;
using mapi::test::RaisedNumber;

using ApplicationTest = mapi::test::MapiFixture;

TEST_F(ApplicationTest, VersionNamespaceAndSettings)
{
    Application app("12.0.6423.1000");
    EXPECT_EQ(app.Version(), "12.0.6423.1000");
    app.SetVersion("9.0.0.2711");
    EXPECT_EQ(app.Version().substr(0, 2), "9.");
    EXPECT_EQ(app.GetNamespace("MAPI"), app.GetNamespace("mapi"));
    EXPECT_EQ(app.Session(), app.GetNamespace("MAPI"));
    EXPECT_EQ(RaisedNumber([&] { app.GetNamespace("LDAP"); }), rt::errors::InvalidProcedureCall);

    EXPECT_EQ(app.LanguageSettings()->LanguageID(2), 1031);
    app.LanguageSettings()->SetLanguageID(2, 1033);
    EXPECT_EQ(app.LanguageSettings()->LanguageID(2), 1033);
    EXPECT_EQ(app.LanguageSettings()->LanguageID(1), 1031);
    EXPECT_EQ(RaisedNumber([&] { app.LanguageSettings()->LanguageID(5); }),
              rt::errors::InvalidProcedureCall);

    EXPECT_EQ(app.COMAddIns()->Count(), 0);
    app.COMAddIns()->Add("Tolvane2.Connect", "Tallyman", true);
    app.COMAddIns()->Add("Other.Connect", "Anderes", false);
    ASSERT_EQ(app.COMAddIns()->Count(), 2);
    EXPECT_EQ(app.COMAddIns()->Item(1)->Description(), "Tallyman");
    EXPECT_TRUE(app.COMAddIns()->Item(1)->Connect());
    EXPECT_FALSE(app.COMAddIns()->Item(2)->Connect());
    EXPECT_EQ(RaisedNumber([&] { app.COMAddIns()->Item(3); }), rt::errors::SubscriptOutOfRange);
}

TEST_F(ApplicationTest, QuitRaisesTheEventToConnectedHandlers)
{
    Application app;
    std::vector<std::string> calls;
    int second = 0;
    app.OnQuit([&] {
        calls.push_back("first");
        app.DisconnectQuit(second); // a handler may drop another during the event
    });
    second = app.OnQuit([&] { calls.push_back("second"); });
    const int third = app.OnQuit([&] { calls.push_back("third"); });
    app.Quit();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "third"}));
    app.DisconnectQuit(third);
    app.DisconnectQuit(12345);
    calls.clear();
    app.Quit();
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
}

TEST_F(ApplicationTest, NamespaceFoldersAreViewsOfTheSameStores)
{
    Application app;
    auto ns = app.GetNamespace("MAPI");
    auto top = ns->Folders();
    ASSERT_EQ(top->Count(), 2);
    EXPECT_EQ(top->Item(1)->StoreID(), Store().EntryId());
    EXPECT_EQ(top->Item(2)->StoreID(), Archive().EntryId());
    EXPECT_EQ(top->Item(rt::Variant("archiv"))->Name(), "Archiv");
    EXPECT_EQ(ns->CurrentUser()->Name(), "Jörg Müller");
    EXPECT_FALSE(ns->Offline());

    for (long number : {mapi::olFolderJournal, mapi::olFolderTasks, mapi::olFolderCalendar}) {
        SCOPED_TRACE(number);
        auto folder = ns->GetDefaultFolder(number);
        EXPECT_EQ(folder->StoreID(), Store().EntryId());
        // The messaging library opens the very folder by the identifiers read from it.
        auto session = LoggedOnSession();
        auto same = session->GetFolderFromID(folder->EntryID(), rt::Variant(folder->StoreID()));
        ASSERT_TRUE(same);
        EXPECT_EQ(same->Name(), folder->Name());
        EXPECT_EQ(same->DefaultItemType(), folder->DefaultItemType());
    }
    auto root = top->Item(1)->Folders();
    EXPECT_EQ(root->Count(), 10);
    EXPECT_EQ(root->Item(rt::Variant("Kalender"))->DefaultItemType(), 1);
}

TEST_F(ApplicationTest, TakenOverSessionSeesTheClientsWrites)
{
    Application app;
    auto ns = app.GetNamespace("MAPI");
    mapi::Session session;
    session.SetMAPIOBJECT(ns->MAPIOBJECT());
    EXPECT_TRUE(session.LoggedOn());

    auto mail = std::dynamic_pointer_cast<MailItem>(app.CreateItem(mapi::olMailItem));
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->TypeName(), "MailItem");
    EXPECT_EQ(mail->BodyFormat(), 2);
    mail->SetSubject("Supportanfrage");
    mail->Save();
    auto drafts = session.GetDefaultFolder(mapi::olFolderDrafts)->GetItems();
    ASSERT_EQ(drafts->Count(), 1);
    EXPECT_EQ(drafts->Item(1)->Subject(), "Supportanfrage");
    // And the client sees the library's writes.
    drafts->Item(1)->SetSubject("Supportanfrage (geändert)");
    EXPECT_EQ(mail->Subject(), "Supportanfrage (geändert)");

    app.SetNewMailBodyFormat(1);
    EXPECT_EQ(std::dynamic_pointer_cast<MailItem>(app.CreateItem(0))->BodyFormat(), 1);
    EXPECT_EQ(app.CreateItem(mapi::olTaskItem)->TypeName(), "TaskItem");
    EXPECT_EQ(RaisedNumber([&] { app.CreateItem(7); }), rt::errors::InvalidProcedureCall);
}

TEST_F(ApplicationTest, SafeWrapperOfAClientMail)
{
    Application app;
    auto mail = std::dynamic_pointer_cast<MailItem>(app.CreateItem(0));
    ASSERT_TRUE(mail);
    auto wrapper = std::dynamic_pointer_cast<mapi::SafeItem>(
        mapi::CreateObject("ardex.sf" + mail->TypeName().substr(0, 4)));
    ASSERT_TRUE(wrapper);
    wrapper->SetItem(rt::Variant(std::static_pointer_cast<ItemBase>(mail)));
    wrapper->GetRecipients()->Add("support@kestrova.de");
    wrapper->SetBodyFormat(1);
    EXPECT_EQ(mail->Recipients()->Count(), 1);
    EXPECT_EQ(mail->BodyFormat(), 1);
}

} // namespace platform::outlook::test
