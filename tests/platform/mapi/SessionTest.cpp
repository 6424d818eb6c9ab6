#include "MapiFixture.h"

#include "platform/mapi/AddressEntry.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/CreateObject.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/SafeItem.h"
#include "platform/mapi/SessionHandle.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/UserField.h"
#include "platform/mapi/UserFields.h"
#include "platform/mapi/Utils.h"

#include <sqlite3.h>

#include <tuple>

namespace platform::mapi::test {

namespace rt = platform::runtime;

using SessionTest = MapiFixture;

TEST_F(SessionTest, LogonWithOnlyTheNewSessionFlagOpensTheCurrentProfile)
{
    Session session;
    EXPECT_FALSE(session.LoggedOn());
    session.Logon({}, {}, {}, false);
    EXPECT_TRUE(session.LoggedOn());
    EXPECT_EQ(session.ProfileName(), "Outlook");
    session.Logoff();
    EXPECT_FALSE(session.LoggedOn());
    EXPECT_TRUE(RaisedNumber([&] { session.GetStores(); }).has_value());
}

TEST_F(SessionTest, LogonFailsWithoutACurrentProfileOrOnAFolderWithoutProfile)
{
    SetCurrentProfile("");
    Session none;
    EXPECT_TRUE(RaisedNumber([&] { none.Logon({}, {}, {}, false); }).has_value());
    EXPECT_FALSE(none.LoggedOn());

    SetCurrentProfile((Dir() / "nowhere").string());
    Session missing;
    EXPECT_TRUE(RaisedNumber([&] { missing.Logon({}, {}, {}, false); }).has_value());
    EXPECT_FALSE(missing.LoggedOn());
}

TEST_F(SessionTest, AFailedLogonSaysWhyInTheLanguageOfTheRegionalSettings)
{
    // A profile without a store and a folder without a profile cannot be opened.
    const auto empty = (Dir() / "empty").string();
    st::Profile::Create(empty);
    const auto missing = (Dir() / "nowhere").string();
    // The description of the error a logon on the profile raises.
    const auto why = [](const std::string& sProfile) {
        SetCurrentProfile(sProfile);
        try {
            Session().Logon({}, {}, {}, false);
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), -2147221231); // logon failed
            return e.Description();
        }
        return std::string("no error");
    };
    for (const auto& [sLocale, sStart, sEnd] :
         {std::tuple<const char*, const char*, const char*>{"de-DE", "Das Profil \"",
                                                            "\" kann nicht geöffnet werden: "},
          {"en-US", "The profile \"", "\" cannot be opened: "}}) {
        SCOPED_TRACE(sLocale);
        platform::locale::SetCurrent(sLocale);
        for (const auto& sProfile : {empty, missing}) {
            const std::string sWhy = why(sProfile);
            EXPECT_EQ(sWhy.rfind(sStart + sProfile + sEnd, 0), 0U) << sWhy;
        }
    }
    platform::locale::SetCurrent("de-DE");
}

TEST_F(SessionTest, TakeOverThroughTheMapiObjectWorksOnTheSameProfile)
{
    auto client = LoggedOnSession();
    Session taken;
    taken.SetMAPIOBJECT(client->MAPIOBJECT());
    EXPECT_TRUE(taken.LoggedOn());
    EXPECT_EQ(taken.GetStores()->Count(), 2);
    // Logging the taking session off leaves the client's session working.
    taken.Logoff();
    EXPECT_TRUE(client->LoggedOn());
    EXPECT_EQ(client->GetStores()->Count(), 2);

    EXPECT_EQ(RaisedNumber([&] { taken.SetMAPIOBJECT(rt::Variant(42)); }),
              rt::errors::TypeMismatch);
}

// The stores stay open from one session to the next; each session still sees the profile as
// it is then, also when the profile folder was made anew at the same path.
TEST_F(SessionTest, EachLogonSeesTheProfileAsItIsNow)
{
    const auto inboxCount = [](Session& s) {
        return s.GetDefaultFolder(olFolderInbox)->GetItems()->Count();
    };
    {
        auto first = LoggedOnSession();
        EXPECT_EQ(inboxCount(*first), 0);
        first->Logoff();
    }
    Builder().Mail(Folder(st::FolderRole::Inbox).entryId, "Neu");
    Store().SetName("Umbenannt");
    {
        auto second = LoggedOnSession();
        EXPECT_EQ(inboxCount(*second), 1);
        EXPECT_EQ(second->GetStores()->Item(rt::Variant(1))->Name(), "Umbenannt");
    }

    const auto folder = Dir() / "Outlook";
    {
        auto keep = LoggedOnSession(); // a session open while the folder goes
        ReleaseProfile();
        std::filesystem::remove_all(folder);
        auto profile = st::Profile::Create(folder);
        auto store = profile->CreateStore("Neu angelegt", st::StoreKind::UnicodePersonal, true);
        st::StoreBuilder b(*store);
        const auto inbox = b.DefaultFolder(st::FolderRole::Inbox).entryId;
        b.Mail(inbox, "1");
        b.Mail(inbox, "2");
    }
    auto third = LoggedOnSession();
    EXPECT_EQ(third->GetStores()->Count(), 1);
    EXPECT_EQ(third->GetStores()->Item(rt::Variant(1))->Name(), "Neu angelegt");
    EXPECT_EQ(inboxCount(*third), 2);
}

TEST_F(SessionTest, StoresListTheDefaultStoreFirstWithTheirKinds)
{
    auto session = LoggedOnSession();
    auto stores = session->GetStores();
    ASSERT_EQ(stores->Count(), 2);
    EXPECT_EQ(stores->Item(1)->Name(), "Persönliche Ordner");
    EXPECT_EQ(stores->Item(1)->StoreKind(), 2);
    EXPECT_TRUE(stores->Item(1)->Default());
    EXPECT_EQ(stores->Item(2)->Name(), "Archiv");
    EXPECT_EQ(stores->Item(2)->StoreKind(), 1);
    EXPECT_EQ(stores->DefaultStore()->StoreID(), Store().EntryId());
    EXPECT_EQ(stores->Item(rt::Variant(Archive().EntryId()))->Name(), "Archiv");
    EXPECT_EQ(RaisedNumber([&] { stores->Item(3); }), rt::errors::SubscriptOutOfRange);
    EXPECT_EQ(RaisedNumber([&] { stores->Item(0); }), rt::errors::SubscriptOutOfRange);
}

TEST_F(SessionTest, StorePropertiesByTagAreEmptyWhenMissing)
{
    auto def = LoggedOnSession()->GetStores()->DefaultStore();
    EXPECT_EQ(def->Fields(PR_MAILBOX_OWNER_NAME), rt::Variant("Jörg Müller"));
    EXPECT_TRUE(def->Fields(PR_STORE_OFFLINE).IsEmpty());
    EXPECT_EQ(def->GetDefaultFolder(olFolderInbox)->Name(), "Posteingang");
    EXPECT_TRUE(def->GetDefaultFolder(olFolderInbox)->Fields(PR_EXCHANGE_SERVER_VERSION).IsEmpty());
    EXPECT_EQ(def->RootFolder()->Name(), Store().RootFolder().name);
}

TEST_F(SessionTest, DefaultFoldersByTheClientsNumbers)
{
    auto session = LoggedOnSession();
    struct Case
    {
        long number;
        st::FolderRole role;
        long itemType;
    };
    const Case cases[] = {{olFolderOutbox, st::FolderRole::Outbox, 0},
                          {olFolderCalendar, st::FolderRole::Calendar, 1},
                          {olFolderJournal, st::FolderRole::Journal, 4},
                          {olFolderTasks, st::FolderRole::Tasks, 3},
                          {olFolderDrafts, st::FolderRole::Drafts, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        auto folder = session->GetDefaultFolder(c.number);
        EXPECT_EQ(folder->EntryID(), Folder(c.role).entryId);
        EXPECT_EQ(folder->StoreID(), Store().EntryId());
        EXPECT_EQ(folder->DefaultItemType(), c.itemType);
    }
    EXPECT_TRUE(RaisedNumber([&] { session->GetDefaultFolder(99); }).has_value());
    EXPECT_TRUE(RaisedNumber([&] { session->GetDefaultFolder(0); }).has_value());
}

TEST_F(SessionTest, AMissingDefaultFolderIsNamedInTheLanguageOfTheRegionalSettings)
{
    // A store whose journal is no longer its default one (as another program may leave it).
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Store().File().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, "UPDATE folders SET role = 0 WHERE role = 11", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    auto session = LoggedOnSession();
    const auto why = [&](long folderType) {
        try {
            session->GetDefaultFolder(folderType);
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), -2147221233); // not found
            return e.Description();
        }
        return std::string("no error");
    };
    platform::locale::SetCurrent("en-US");
    EXPECT_EQ(why(olFolderJournal),
              "The store \"Persönliche Ordner\" has no default Journal folder.");
    EXPECT_EQ(why(99), "The store \"Persönliche Ordner\" has no default folder of kind 99.");
    platform::locale::SetCurrent("de-DE");
    EXPECT_EQ(why(olFolderJournal),
              "Der Speicher „Persönliche Ordner“ hat keinen Standardordner „Journal“.");
    EXPECT_EQ(why(0), "Der Speicher „Persönliche Ordner“ hat keinen Standardordner der Art 0.");
    EXPECT_EQ(session->GetDefaultFolder(olFolderTasks)->Name(), Folder(st::FolderRole::Tasks).name);
}

TEST_F(SessionTest, FolderAndMessageByEntryAndStoreId)
{
    auto tasks = Folder(st::FolderRole::Tasks);
    auto task = Builder().Task(tasks.entryId, "Angebot prüfen");
    auto session = LoggedOnSession();

    auto folder = session->GetFolderFromID(tasks.entryId, rt::Variant(Store().EntryId()));
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->Name(), "Aufgaben");
    EXPECT_EQ(folder->GetStore()->Name(), "Persönliche Ordner");
    // Without a store id every store is searched; in the wrong store nothing is found.
    EXPECT_TRUE(session->GetFolderFromID(tasks.entryId));
    EXPECT_FALSE(session->GetFolderFromID(tasks.entryId, rt::Variant(Archive().EntryId())));
    EXPECT_FALSE(session->GetFolderFromID("00AB", rt::Variant(Store().EntryId())));
    EXPECT_FALSE(session->GetFolderFromID("kein Bezeichner", rt::Variant(Store().EntryId())));
    EXPECT_FALSE(session->GetFolderFromID(tasks.entryId, rt::Variant("FFFF")));
    EXPECT_FALSE(session->GetMessageFromID("", rt::Variant(Store().EntryId())));

    auto message = session->GetMessageFromID(task.EntryId(), rt::Variant(Store().EntryId()));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->Subject(), "Angebot prüfen");
    EXPECT_EQ(message->TypeName(), "TaskItem");
    EXPECT_FALSE(session->GetMessageFromID(task.EntryId(), rt::Variant(Archive().EntryId())));
}

TEST_F(SessionTest, CurrentUserAndCompareEntryIds)
{
    auto session = LoggedOnSession();
    EXPECT_EQ(session->CurrentUserName(), "Jörg Müller");
    EXPECT_EQ(session->CurrentUser()->Name(), "Jörg Müller");
    EXPECT_TRUE(session->CompareEntryIDs("00ab", "00AB"));
    EXPECT_FALSE(session->CompareEntryIDs("00ab", "00AC"));
    EXPECT_EQ(session->ExchangeMailboxServerVersion(), "");
}

TEST_F(SessionTest, SubfoldersAndUserFields)
{
    auto calendar = Folder(st::FolderRole::Calendar);
    Builder().Folder("Urlaub", st::ItemType::Appointment, st::FolderRole::None, calendar.entryId);
    Store().AddUserField(calendar.entryId,
                         st::UserField{std::string(st::PS_PUBLIC_STRINGS), 1, "Projekt"});
    Store().AddUserField(calendar.entryId,
                         st::UserField{std::string(st::PS_PUBLIC_STRINGS), 3, "Kosten"});
    auto folder = LoggedOnSession()->GetDefaultFolder(olFolderCalendar);
    auto subs = folder->GetFolders();
    ASSERT_EQ(subs->Count(), 1);
    EXPECT_EQ(subs->Item(1)->Name(), "Urlaub");
    EXPECT_EQ(subs->Item(rt::Variant("URLAUB"))->Name(), "Urlaub");
    EXPECT_EQ(subs->Item(1)->Parent()->EntryID(), calendar.entryId);

    auto fields = folder->GetUserFields();
    ASSERT_EQ(fields->Count(), 2);
    EXPECT_EQ(fields->Item(1)->Name(), "Projekt");
    EXPECT_EQ(fields->Item(1)->Type(), 1);
    EXPECT_EQ(fields->Item(2)->Type(), 3);
    EXPECT_EQ(fields->Item(2)->GUID(), std::string(st::PS_PUBLIC_STRINGS));
    EXPECT_EQ(RaisedNumber([&] { fields->Item(3); }), rt::errors::SubscriptOutOfRange);
}

TEST_F(SessionTest, CreateObjectMakesTheLibrarysClassesByProgId)
{
    struct Case
    {
        const char* progId;
        const char* typeName;
    };
    const Case cases[] = {{"ardex.ardexsession", "Session"},
                          {"ARDEX.sfUtils", "Utils"},
                          {"ardex.sfTable", "Table"},
                          {"ardex.sfMail", "sfMail"},
                          {"ardex.sfContact", "sfContact"},
                          {"ardex.sfRecipient", "sfRecipient"},
                          {"ardex.sfAppointment", "sfAppointment"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progId);
        EXPECT_EQ(CreateObject(c.progId)->TypeName(), c.typeName);
    }
    for (const char* unknown : {"ardex.sfNothing", "ardex.session", "excel.application", ""}) {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(RaisedNumber([&] { CreateObject(unknown); }), rt::errors::CannotCreateObject);
    }
}

TEST_F(SessionTest, SafeWrapperTakesAnItemAndDetaches)
{
    auto drafts = LoggedOnSession()->GetDefaultFolder(olFolderDrafts);
    auto mail = drafts->GetItems()->Add();
    auto wrapper = std::dynamic_pointer_cast<SafeItem>(CreateObject("ardex.sfMail"));
    ASSERT_TRUE(wrapper);
    EXPECT_EQ(RaisedNumber([&] { wrapper->GetRecipients(); }), rt::errors::ObjectNotSet);
    wrapper->SetItem(rt::Variant(mail));
    wrapper->GetRecipients()->Add("info@kestrova.de")->Resolve();
    wrapper->SetBodyFormat(1);
    EXPECT_EQ(mail->GetRecipients()->Count(), 1);
    EXPECT_EQ(mail->BodyFormat(), 1);
    wrapper->SetItem(rt::Variant(nullptr));
    EXPECT_TRUE(wrapper->Item().IsNothing());
    EXPECT_EQ(RaisedNumber([&] { wrapper->SetItem(rt::Variant("text")); }),
              rt::errors::TypeMismatch);
}

} // namespace platform::mapi::test
