#include "platform/locale/Locale.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"
#include "platform/store/StoreError.h"
#include "tests/platform/store/StoreFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <span>

namespace platform::store::test {
namespace {

class StoreTest : public StoreFixture
{
};

TEST_F(StoreTest, ProfileListsStoresWithDefaultAndReopens)
{
    std::string personal, archive;
    {
        auto profile = Profile::Create(Dir() / "p");
        profile->SetUserName("Jürgen Weiß");
        personal =
            profile->CreateStore("Persönliche Ordner", StoreKind::UnicodePersonal)->EntryId();
        archive = profile->CreateStore("Archiv", StoreKind::AnsiPersonal)->EntryId();
        EXPECT_NE(personal, archive);
    }
    auto profile = Profile::Open(Dir() / "p");
    EXPECT_EQ(profile->UserName(), "Jürgen Weiß");
    const auto stores = profile->Stores();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0].entryId, personal);
    EXPECT_EQ(stores[0].name, "Persönliche Ordner");
    EXPECT_EQ(stores[0].kind, StoreKind::UnicodePersonal);
    EXPECT_TRUE(stores[0].isDefault);
    EXPECT_EQ(stores[1].kind, StoreKind::AnsiPersonal);
    EXPECT_FALSE(stores[1].isDefault);
    EXPECT_EQ(profile->DefaultStore()->EntryId(), personal);
    // The same object for the same store, whatever the case of the id.
    EXPECT_EQ(profile->OpenStore(archive).get(), profile->OpenStore(archive).get());
    profile->SetDefaultStore(archive);
    EXPECT_EQ(profile->DefaultStore()->EntryId(), archive);
    EXPECT_THROW(profile->OpenStore("00000000FFFF"), StoreError);
    EXPECT_THROW(Profile::Create(Dir() / "p"), StoreError);
    EXPECT_THROW(Profile::Open(Dir() / "none"), StoreError);
}

TEST_F(StoreTest, EveryPropertyTypeRoundTripsThroughReopen)
{
    const std::vector<std::pair<PropTag, PropValue>> values = {
        {MakeTag(0x6001, PT_LONG), std::int32_t{-123456}},
        {MakeTag(0x6002, PT_DOUBLE), 0.375},
        {MakeTag(0x6003, PT_CURRENCY), Currency{-12345678901234}},
        {MakeTag(0x6004, PT_BOOLEAN), true},
        {MakeTag(0x6005, PT_BOOLEAN), false},
        {MakeTag(0x6006, PT_STRING8), std::string("Grüße aus Köln \"quoted\"\n")},
        {MakeTag(0x6007, PT_SYSTIME), SysTime{1700000000}},
        {MakeTag(0x6008, PT_BINARY), Binary{{0, 1, 2, 255}}},
        {MakeTag(0x6009, PT_BINARY), Binary{}},
        {MakeTag(0x600A, PT_MV_STRING8), MultiString{"Büro", "a,b", "\"x\"\\", "", "\x01tab\t"}},
        {MakeTag(0x600B, PT_MV_STRING8), MultiString{}},
        {MakeTag(0x600C, PT_STRING8), std::string()},
    };
    std::string item;
    const auto file = Dir() / "s.db";
    {
        auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        auto ib = b.Item(b.Folder("F", ItemType::Mail).entryId, "IPM.Note");
        for (const auto& [tag, value] : values)
            ib.Set(tag, value);
        item = ib.EntryId();
        store->SetProperty(props::PR_MAILBOX_OWNER_NAME, std::string("Jürgen"));
    }
    auto store = Store::Open(file);
    for (const auto& [tag, value] : values) {
        SCOPED_TRACE(tag);
        const auto read = store->GetItemProperty(item, tag);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, value);
    }
    EXPECT_EQ(store->ItemProperties(item).size(), values.size());
    EXPECT_EQ(store->GetProperty(props::PR_MAILBOX_OWNER_NAME), PropValue(std::string("Jürgen")));
    // The Unicode tag reads the same text.
    EXPECT_EQ(store->GetItemProperty(item, MakeTag(0x6006, PT_UNICODE)), values[5].second);
    EXPECT_FALSE(store->GetItemProperty(item, MakeTag(0x6006, PT_LONG)).has_value());
}

TEST_F(StoreTest, ValuesThatDoNotFitTheirTagAreRefused)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    auto ib = b.Item(b.Folder("F", ItemType::Mail).entryId, "IPM.Note");
    const std::vector<std::pair<PropTag, PropValue>> bad = {
        {props::PR_SUBJECT, std::int32_t{1}},
        {props::PR_IMPORTANCE, std::string("2")},
        {MakeTag(0x6000, PT_OBJECT), Binary{}},
        {props::PR_ENTRYID, Binary{{1}}},
        {props::PR_MESSAGE_CLASS, std::string("IPM.X")},
    };
    for (const auto& [tag, value] : bad) {
        SCOPED_TRACE(tag);
        EXPECT_THROW(ib.Set(tag, value), StoreError);
    }
    EXPECT_TRUE(store->ItemProperties(ib.EntryId()).empty());
}

TEST_F(StoreTest, ComputedPropertiesAnswerIdentityClassAndAttachments)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto folder = b.Folder("F", ItemType::Mail).entryId;
    auto plain = b.Mail(folder, "plain");
    auto attached = b.Mail(folder, "attached");
    const std::vector<std::uint8_t> bytes{'h', 'i'};
    attached.AttachFile("a.txt", bytes, 3);
    EXPECT_EQ(store->GetItemProperty(plain.EntryId(), props::PR_HASATTACH), PropValue(false));
    EXPECT_EQ(store->GetItemProperty(attached.EntryId(), props::PR_HASATTACH), PropValue(true));
    EXPECT_EQ(store->GetItemProperty(plain.EntryId(), props::PR_MESSAGE_CLASS),
              PropValue(std::string("IPM.Note")));
    const auto eid = std::get<Binary>(*store->GetItemProperty(plain.EntryId(), props::PR_ENTRYID));
    std::string hex;
    for (const auto byte : eid.bytes) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02X", byte);
        hex += buf;
    }
    EXPECT_EQ(hex, plain.EntryId());

    const PropTag cols[] = {props::PR_SUBJECT, props::PR_HASATTACH, props::PR_MESSAGE_CLASS,
                            props::PR_STORE_ENTRYID, props::PR_BODY};
    const auto rows = store->ReadTable(folder, cols);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].values[0], PropValue(std::string("plain")));
    EXPECT_EQ(rows[1].values[1], PropValue(true));
    EXPECT_EQ(rows[0].values[1], PropValue(false));
    EXPECT_EQ(rows[1].values[2], PropValue(std::string("IPM.Note")));
    EXPECT_TRUE(rows[0].values[3].has_value());
    EXPECT_FALSE(rows[0].values[4].has_value());
}

TEST_F(StoreTest, RangesHoldBothBoundsEqualToAStart)
{
    auto store = Store::Create(Dir() / "r.db", "R", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto folder = b.Folder("Kalender", ItemType::Appointment).entryId;
    const PropTag start =
        b.NamedTag(NamedProperty::Lid(PSETID_Appointment, props::LID_AppointmentStart), PT_SYSTIME);
    // The last minute of 14 May, its midnight, the last minute of 15 May, the next midnight.
    const LocalTime times[] = {MakeLocalTime(2024, 5, 14, 23, 59), MakeLocalTime(2024, 5, 15),
                               MakeLocalTime(2024, 5, 15, 23, 59), MakeLocalTime(2024, 5, 16)};
    const char* names[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i)
        b.Appointment(folder, names[i], times[i], times[i]);
    const auto s = [&](int i) { return LocalToUtc(times[i]).seconds; };
    const std::optional<std::int64_t> open;
    const struct
    {
        const char* name;
        std::vector<ValueRange> ranges;
        std::vector<std::string> expected;
    } cases[] = {
        {"both bounds on one start", {{start, s(1), s(1)}}, {"b"}},
        {"a second after it", {{start, s(1) + 1, s(1) + 1}}, {}},
        {"a second before it", {{start, s(1) - 1, s(1) - 1}}, {}},
        {"a day from its first to its last minute", {{start, s(1), s(2)}}, {"b", "c"}},
        {"a second inside each bound", {{start, s(1) + 1, s(2) - 1}}, {}},
        {"open below, up to a start", {{start, open, s(1)}}, {"a", "b"}},
        {"from a start, open above", {{start, s(2), open}}, {"c", "d"}},
        {"two ranges meeting on a start",
         {{start, s(0), s(1)}, {start, s(1), s(2)}},
         {"a", "b", "c"}},
    };
    const PropTag cols[] = {props::PR_SUBJECT};
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const auto& row : store->ReadTableInRanges(folder, cols, c.ranges))
            got.push_back(std::get<std::string>(row.values.at(0).value()));
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST_F(StoreTest, NamedPropertiesAreMappedPerStoreFrom0x8000)
{
    auto a = Store::Create(Dir() / "a.db", "A", StoreKind::UnicodePersonal);
    auto b = Store::Create(Dir() / "b.db", "B", StoreKind::PublicFolders);
    const auto location = NamedProperty::Lid(PSETID_Appointment, 0x8208);
    const auto keywords = NamedProperty::Name(PS_PUBLIC_STRINGS, "Keywords");
    EXPECT_EQ(a->GetOrCreateIdFromName(location), 0x8000);
    EXPECT_EQ(a->GetOrCreateIdFromName(keywords), 0x8001);
    EXPECT_EQ(b->GetOrCreateIdFromName(keywords), 0x8000);
    EXPECT_EQ(b->GetOrCreateIdFromName(location), 0x8001);
    // The same name again keeps its id; lower-case GUIDs, missing braces and signed LIDs
    // name the same property.
    EXPECT_EQ(a->GetOrCreateIdFromName(location), 0x8000);
    EXPECT_EQ(a->GetIdFromName(NamedProperty::Lid("00062002-0000-0000-c000-000000000046", -32248)),
              std::optional<std::uint16_t>(0x8000));
    EXPECT_FALSE(a->GetIdFromName(NamedProperty::Name(PS_PUBLIC_STRINGS, "keywords")));
    EXPECT_FALSE(a->GetIdFromName(NamedProperty::Lid(PSETID_Task, 0x8208)));
    EXPECT_EQ(a->GetNameFromId(0x8001), keywords);
    EXPECT_FALSE(a->GetNameFromId(0x8002));
    EXPECT_THROW(NamedProperty::Lid("{not-a-guid}", 1), StoreError);
}

TEST_F(StoreTest, FoldersCarryTypeRoleClassAndUserFields)
{
    auto store = Store::Create(Dir() / "s.db", "Persönliche Ordner", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto cal = b.DefaultFolder(FolderRole::Calendar);
    const auto tasks = b.DefaultFolder(FolderRole::Tasks);
    const auto sub = b.Folder("Projekte", ItemType::Appointment, FolderRole::None, cal.entryId);
    EXPECT_EQ(b.DefaultFolder(FolderRole::Calendar).entryId, cal.entryId);
    EXPECT_EQ(cal.defaultItemType, ItemType::Appointment);
    EXPECT_EQ(cal.containerClass, "IPF.Appointment");
    EXPECT_EQ(tasks.containerClass, "IPF.Task");
    EXPECT_EQ(store->RootFolder().name, "Persönliche Ordner");
    EXPECT_EQ(store->SubFolders(store->RootFolder().entryId).size(), 2u);
    EXPECT_EQ(store->SubFolders(cal.entryId).at(0).entryId, sub.entryId);
    EXPECT_EQ(store->GetFolder(sub.entryId).parentEntryId, cal.entryId);
    EXPECT_THROW(store->CreateFolder(store->RootFolder().entryId, "Zweiter", ItemType::Appointment,
                                     FolderRole::Calendar),
                 StoreError);

    store->AddUserField(cal.entryId, {"{00020329-0000-0000-c000-000000000046}", 1, "Projekt"});
    store->AddUserField(cal.entryId, {std::string(PS_PUBLIC_STRINGS), 3, "Stunden"});
    const auto fields = store->UserFields(cal.entryId);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].propertySet, PS_PUBLIC_STRINGS);
    EXPECT_EQ(fields[0].name, "Projekt");
    EXPECT_EQ(fields[1].type, 3);
    EXPECT_TRUE(store->UserFields(tasks.entryId).empty());
}

TEST_F(StoreTest, ItemsKeepOrderMoveAndDeleteWithWhatTheyHold)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto inbox = b.DefaultFolder(FolderRole::Inbox).entryId;
    const auto sent = b.DefaultFolder(FolderRole::SentMail).entryId;
    auto first = b.Mail(inbox, "1");
    auto second = b.Mail(inbox, "2");
    second.AddRecipient(RecipientType::To, "Jörg", "joerg@example.org")
        .AddRecipient(RecipientType::Cc, "Ann", "ann@example.org");
    auto embedded = second.Embed("IPM.Note", "Weitergeleitet", 7);
    embedded.Subject("inner");
    EXPECT_EQ(store->ItemCount(inbox), 2u);
    EXPECT_EQ(store->Items(inbox).at(1).entryId, second.EntryId());

    const auto recipients = store->Recipients(second.EntryId());
    ASSERT_EQ(recipients.size(), 2u);
    EXPECT_EQ(recipients[1].type, RecipientType::Cc);
    const auto attachments = store->Attachments(second.EntryId());
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments[0].method, AttachMethod::Embedded);
    EXPECT_EQ(attachments[0].embeddedEntryId, embedded.EntryId());
    EXPECT_EQ(store->GetItem(embedded.EntryId()).kind, ItemKind::Embedded);

    store->MoveItem(second.EntryId(), sent);
    EXPECT_EQ(store->ItemCount(inbox), 1u);
    EXPECT_EQ(store->Items(sent).at(0).entryId, second.EntryId());
    EXPECT_EQ(store->GetItem(embedded.EntryId()).folderEntryId, sent);

    store->DeleteItem(second.EntryId());
    EXPECT_FALSE(store->FindItem(second.EntryId()));
    EXPECT_FALSE(store->FindItem(embedded.EntryId()));
    EXPECT_THROW(store->GetItemProperty(second.EntryId(), props::PR_SUBJECT), StoreError);
    EXPECT_EQ(store->GetItemProperty(first.EntryId(), props::PR_SUBJECT),
              PropValue(std::string("1")));
}

TEST_F(StoreTest, EntryIdsOfAnotherStoreAreNotFound)
{
    auto a = Store::Create(Dir() / "a.db", "A", StoreKind::UnicodePersonal);
    auto b = Store::Create(Dir() / "b.db", "B", StoreKind::UnicodePersonal);
    StoreBuilder ba(*a);
    const auto item = ba.Mail(ba.Folder("F", ItemType::Mail).entryId, "x").EntryId();
    EXPECT_FALSE(b->FindItem(item));
    EXPECT_TRUE(a->FindItem(item));
    EXPECT_FALSE(a->FindItem("zz"));
    EXPECT_FALSE(a->FindFolder(item));
}

// Callers tell why a store file failed by its cause, never by the database's words.
TEST_F(StoreTest, AFailingStoreFileSaysItsCauseByKind)
{
    const auto FailureOf = [](const std::function<void()>& use) {
        try {
            use();
        } catch (const StoreError& e) {
            return e.Failure();
        }
        ADD_FAILURE() << "the use did not fail";
        return StoreFailure::Other;
    };
    const auto Made = [&](const char* name) {
        const auto file = Dir() / name;
        const auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
        StoreBuilder(*store).Folder("F", ItemType::Appointment);
        return file;
    };

    const auto garbage = Dir() / "garbage.db";
    std::ofstream(garbage, std::ios::binary) << std::string(8192, 'Z');
    EXPECT_EQ(FailureOf([&] { Store::Open(garbage); }), StoreFailure::Damaged);

    const auto dropped = Made("dropped.db");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(dropped.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "DROP TABLE items", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    EXPECT_EQ(FailureOf([&] {
                  auto store = Store::Open(dropped);
                  store->ItemCount(store->RootFolder().entryId);
              }),
              StoreFailure::Damaged);
    // A file with a table gone still opens, whatever its kept counts and reaches cannot be
    // checked against: its folders are named, and only the reads that need the table fail.
    for (const char* table : {"items", "recurrence", "exceptions"}) {
        SCOPED_TRACE(table);
        const auto file = Made((std::string("without ") + table + ".db").c_str());
        Exec(file, std::string("DROP TABLE ") + table);
        std::unique_ptr<Store> store;
        ASSERT_NO_THROW(store = Store::Open(file));
        EXPECT_EQ(store->AllFolders().size(), 2u);
    }
    // So does one whose item pages are overwritten.
    const auto pages = Dir() / "pages.db";
    {
        const auto store = Store::Create(pages, "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        const auto folder = b.Folder("F", ItemType::Mail).entryId;
        for (int i = 0; i < 400; ++i)
            b.Mail(folder, std::string(200, static_cast<char>('a' + i % 26)));
    }
    const auto size = std::filesystem::file_size(pages);
    {
        std::fstream file(pages, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size / 4096 / 3 * 4096));
        file << std::string(size / 4096 / 3 * 4096, '\x5A');
    }
    std::unique_ptr<Store> damaged;
    ASSERT_NO_THROW(damaged = Store::Open(pages));
    EXPECT_EQ(damaged->AllFolders().size(), 2u);

    // Another program holds the file: the store waits a while, then says so.
    const auto locked = Made("locked.db");
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(locked.c_str(), &holder), SQLITE_OK);
    // Exclusive locking keeps out readers of a file in write-ahead logging too.
    ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(FailureOf([&] { Store::Open(locked); }), StoreFailure::InUse);
    sqlite3_close(holder);
    EXPECT_NO_THROW(Store::Open(locked));
}

TEST_F(StoreTest, TransactionRollsBackWhenNotCommitted)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto folder = b.Folder("F", ItemType::Mail).entryId;
    {
        auto tx = store->BeginTransaction();
        b.Mail(folder, "lost");
    }
    EXPECT_EQ(store->ItemCount(folder), 0u);
    {
        auto tx = store->BeginTransaction();
        b.Mail(folder, "kept");
        tx.Commit();
    }
    EXPECT_EQ(store->ItemCount(folder), 1u);
}

// A folder's count is kept between reads: every way the file can change must show in it.
TEST_F(StoreTest, ItemCountFollowsEveryWriteToTheFile)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto folder = b.Folder("F", ItemType::Mail).entryId;
    const auto other = b.Folder("G", ItemType::Mail).entryId;
    b.Mail(folder, "1");
    EXPECT_EQ(store->ItemCount(folder), 1u);
    EXPECT_EQ(store->ItemCount(other), 0u);

    // Another connection to the same file (another process, as the host's tools are).
    auto second = Store::Open(Dir() / "s.db");
    StoreBuilder(*second).Mail(folder, "2");
    EXPECT_EQ(store->ItemCount(folder), 2u);
    EXPECT_EQ(second->ItemCount(folder), 2u);

    {
        auto tx = store->BeginTransaction();
        const auto third = b.Mail(folder, "3").EntryId();
        EXPECT_EQ(store->ItemCount(folder), 3u);
        store->MoveItem(third, other);
        EXPECT_EQ(store->ItemCount(other), 1u);
    } // rolled back
    EXPECT_EQ(store->ItemCount(folder), 2u);
    EXPECT_EQ(store->ItemCount(other), 0u);

    store->DeleteItem(store->Items(folder).at(0).entryId);
    EXPECT_EQ(store->ItemCount(folder), 1u);
    EXPECT_EQ(second->ItemCount(folder), 1u);
}

// A file written before folders kept their counts gets them when it is opened; one that
// cannot be written is counted on every call.
TEST_F(StoreTest, ItemCountOfAFileWithoutKeptCounts)
{
    const auto file = Dir() / "s.db";
    std::string folder, other;
    {
        auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        folder = b.Folder("F", ItemType::Mail).entryId;
        other = b.Folder("G", ItemType::Mail).entryId;
        for (const auto* subject : {"1", "2", "3"})
            b.Mail(folder, subject);
        b.Mail(other, "4");
    }
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "DROP TRIGGER items_count_insert; DROP TRIGGER items_count_delete; "
                           "DROP TRIGGER items_count_update; DROP TABLE folder_counts;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);

    {
        const ReadOnlyFile unwritableFile(file);
        if (!unwritableFile.Held())
            GTEST_SKIP() << "no file can be made read-only here";
        auto readOnly = Store::Open(file);
        EXPECT_EQ(readOnly->ItemCount(folder), 3u);
        EXPECT_EQ(readOnly->ItemCount(other), 1u);
    }

    auto store = Store::Open(file);
    EXPECT_EQ(store->ItemCount(folder), 3u);
    EXPECT_EQ(store->ItemCount(other), 1u);
    StoreBuilder(*store).Mail(other, "5");
    store->DeleteItem(store->Items(folder).at(0).entryId);
    EXPECT_EQ(store->ItemCount(folder), 2u);
    EXPECT_EQ(store->ItemCount(other), 2u);
}

// Counts that another program damaged are counted anew when the store is opened: a count
// emptied, made negative, narrowed, widened, given to an empty folder, not a number, NULL, or
// its table gone would hide rows or promise rows that are not there.
TEST_F(StoreTest, DamagedKeptCountsAreCountedAnewOnOpen)
{
    // The folders hold 3 and 1 mails and none; "NOT NULL" goes with the table made again.
    const std::pair<const char*, const char*> damages[] = {
        {"emptied", "DELETE FROM folder_counts"},
        {"one row gone", "DELETE FROM folder_counts WHERE items = 3"},
        {"negative", "UPDATE folder_counts SET items = -4"},
        {"narrowed", "UPDATE folder_counts SET items = 2 WHERE items = 3"},
        {"widened", "UPDATE folder_counts SET items = items + 100"},
        {"an empty folder's", "INSERT OR REPLACE INTO folder_counts(folder_id, items) SELECT id, "
                              "5 FROM folders WHERE name = 'E'"},
        {"not a number", "UPDATE folder_counts SET items = 'drei' WHERE items = 3"},
        {"NULL", "DROP TABLE folder_counts; CREATE TABLE folder_counts(folder_id INTEGER "
                 "PRIMARY KEY, items INTEGER); INSERT INTO folder_counts SELECT id, NULL FROM "
                 "folders"},
        {"table gone", "DROP TABLE folder_counts"},
        {"a trigger gone", "DROP TRIGGER items_count_insert"},
    };
    for (const auto& [what, sql] : damages) {
        SCOPED_TRACE(what);
        const auto file = Dir() / (std::string(what) + ".db");
        std::string folder, other, empty;
        {
            auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
            StoreBuilder b(*store);
            folder = b.Folder("F", ItemType::Mail).entryId;
            other = b.Folder("G", ItemType::Mail).entryId;
            empty = b.Folder("E", ItemType::Mail).entryId;
            for (const auto* subject : {"1", "2", "3"})
                b.Mail(folder, subject);
            b.Mail(other, "4");
        }
        Exec(file, sql);
        {
            // A file that cannot be written keeps its damaged counts and counts every call.
            const ReadOnlyFile unwritableFile(file);
            if (unwritableFile.Held()) {
                auto unwritable = Store::Open(file);
                EXPECT_EQ(unwritable->ItemCount(folder), 3u) << "read-only";
                EXPECT_EQ(unwritable->ItemCount(other), 1u) << "read-only";
                EXPECT_EQ(unwritable->ItemCount(empty), 0u) << "read-only";
            }
        }
        auto store = Store::Open(file);
        EXPECT_EQ(store->ItemCount(folder), 3u);
        EXPECT_EQ(store->ItemCount(other), 1u);
        EXPECT_EQ(store->ItemCount(empty), 0u);
        // The counts follow the writes after it, as those of an undamaged file do.
        StoreBuilder(*store).Mail(empty, "5");
        store->DeleteItem(store->Items(folder).at(0).entryId);
        EXPECT_EQ(store->ItemCount(folder), 2u);
        EXPECT_EQ(store->ItemCount(empty), 1u);
        EXPECT_EQ(Store::Open(file)->ItemCount(folder), 2u);
    }
}

// The first column of the first row a query on a store file answers.
std::int64_t Scalar(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(raw, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
    const std::int64_t value = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_finalize(st);
    sqlite3_close(raw);
    return value;
}

// The checks of the kept counts and reaches write nothing where they agree: opening a sound
// store leaves its file as it was.
TEST_F(StoreTest, OpeningASoundStoreWritesNothing)
{
    const auto file = Dir() / "s.db";
    {
        auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        const auto mail = b.Folder("F", ItemType::Mail).entryId;
        b.Folder("E", ItemType::Mail);
        for (const auto* subject : {"1", "2", "3"})
            b.Mail(mail, subject);
        RecurrencePattern weekly;
        weekly.type = RecurrenceType::Weekly;
        weekly.interval = 1;
        weekly.dayOfWeekMask = 1 << WeekdayOfDay(DayFromCivil({2024, 5, 6}));
        weekly.durationMinutes = 30;
        weekly.patternStartDay = DayFromCivil({2024, 5, 6});
        weekly.end = RecurrenceEnd::ByCount;
        weekly.occurrenceCount = 5;
        OccurrenceChange moved;
        moved.start = MakeLocalTime(2024, 4, 30, 8);
        moved.end = MakeLocalTime(2024, 4, 30, 9);
        const auto cal = b.DefaultFolder(FolderRole::Calendar).entryId;
        b.Appointment(cal, "W", MakeLocalTime(2024, 5, 6), MakeLocalTime(2024, 5, 6, 0, 30))
            .Recur(weekly)
            .ModifyOccurrence({2024, 5, 13}, moved);
        weekly.end = RecurrenceEnd::Never;
        b.Appointment(cal, "N", MakeLocalTime(2024, 5, 6), MakeLocalTime(2024, 5, 6, 0, 30))
            .Recur(weekly);
    }
    // Triggers of this test's own note every write to the item rows and the counts; counts
    // made anew would lose theirs with the table.
    Exec(file, "CREATE TABLE writes(what TEXT); CREATE TRIGGER noted_items AFTER UPDATE ON "
               "items BEGIN INSERT INTO writes VALUES('items'); END; CREATE TRIGGER "
               "noted_counts AFTER INSERT ON folder_counts BEGIN INSERT INTO writes "
               "VALUES('counts'); END;");
    // Reaches kept in Berlin hold in any zone a reader may have, 14 hours east or 11 west.
    for (const char* zone : {"Europe/Berlin", "Pacific/Kiritimati", "Pacific/Pago_Pago"}) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(Store::Open(file)->AllFolders().size(), 4u) << zone;
    }
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    EXPECT_EQ(Scalar(file, "SELECT COUNT(*) FROM writes"), 0);
    EXPECT_EQ(Scalar(file, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'noted_counts'"), 1);
}

// Every row of a table read holds what the item's own properties hold.
void ExpectRowsAsStored(Store& store, const std::string& folder, std::span<const PropTag> tags,
                        const std::string& when)
{
    const auto rows = store.ReadTable(folder, tags);
    ASSERT_EQ(rows.size(), store.ItemCount(folder)) << when;
    for (const auto& row : rows)
        for (std::size_t c = 0; c < tags.size(); ++c)
            EXPECT_EQ(row.values[c], store.GetItemProperty(row.item.entryId, tags[c]))
                << when << ": item " << row.item.entryId << " tag " << tags[c];
}

// A calendar whose items hold the properties reads ask for on every item, and one other.
struct KeptCalendar
{
    std::string folder;
    std::vector<PropTag> tags; // subject, start, end, duration, all-day, recurring, location
    std::vector<std::string> items;

    explicit KeptCalendar(Store& store)
    {
        StoreBuilder b(store);
        folder = b.Folder("Kalender", ItemType::Appointment).entryId;
        const auto named = [&](std::uint32_t lid, std::uint16_t type) {
            return b.NamedTag(NamedProperty::Lid(PSETID_Appointment, lid), type);
        };
        tags = {props::PR_SUBJECT,
                named(props::LID_AppointmentStart, PT_SYSTIME),
                named(props::LID_AppointmentEnd, PT_SYSTIME),
                named(props::LID_AppointmentDuration, PT_LONG),
                named(props::LID_AllDayEvent, PT_BOOLEAN),
                named(props::LID_Recurring, PT_BOOLEAN),
                named(props::LID_Location, PT_STRING8)};
        for (int i = 0; i < 4; ++i) {
            auto item = b.Appointment(folder, "Termin " + std::to_string(i),
                                      MakeLocalTime(2024, 5, 10 + i, 9),
                                      MakeLocalTime(2024, 5, 10 + i, 10));
            if (i % 2)
                item.AllDay().Location("Raum " + std::to_string(i));
            items.push_back(item.EntryId());
        }
        b.Item(folder, "IPM.Appointment"); // holds none of them
    }
};

// The properties every read asks for are kept beside each item's row as well: whichever way
// the file changes, a read must give what the item's properties hold.
TEST_F(StoreTest, KeptColumnsFollowEveryWriteToTheFile)
{
    const auto file = Dir() / "k.db";
    auto store = Store::Create(file, "K", StoreKind::UnicodePersonal);
    const KeptCalendar cal(*store);
    const auto& t = cal.tags;
    const auto rowOf = [&](int i) {
        return std::to_string(
            std::stoll(cal.items[static_cast<std::size_t>(i)].substr(42), nullptr, 16));
    };
    const struct
    {
        const char* name;
        std::function<void()> change;
    } steps[] = {
        {"as built", [] {}},
        {"a value replaced",
         [&] { store->SetItemProperty(cal.items[0], t[0], std::string("Neu")); }},
        {"values removed",
         [&] {
             store->DeleteItemProperty(cal.items[1], t[1]);
             store->DeleteItemProperty(cal.items[1], t[0]);
         }},
        {"a transaction rolled back",
         [&] {
             auto tx = store->BeginTransaction();
             store->SetItemProperty(cal.items[2], t[2], SysTime{1});
             store->DeleteItemProperty(cal.items[2], t[0]);
         }},
        {"another program writing the file",
         [&] {
             Exec(file, "UPDATE props SET value = 'Fremd' WHERE tag = " + std::to_string(t[0]) +
                            " AND item_id = " + rowOf(3) +
                            "; INSERT OR REPLACE INTO props(item_id, tag, value) VALUES(" +
                            rowOf(2) + ", " + std::to_string(t[3]) +
                            ", 999); DELETE FROM props "
                            "WHERE tag = " +
                            std::to_string(t[4]) + " AND item_id = " + rowOf(0));
         }},
        {"a property moved to another tag",
         [&] {
             Exec(file, "UPDATE props SET tag = " + std::to_string(t[6]) +
                            " WHERE tag = " + std::to_string(t[0]) + " AND item_id = " + rowOf(2));
         }},
        {"an item deleted", [&] { store->DeleteItem(cal.items[3]); }},
    };
    for (const auto& step : steps) {
        step.change();
        ExpectRowsAsStored(*store, cal.folder, t, step.name);
    }
    // A window read takes the kept columns too.
    const ValueRange all[] = {{t[1], std::nullopt, std::nullopt}};
    const auto window = store->ReadTableInRanges(cal.folder, t, all);
    ASSERT_EQ(window.size(), 2u);
    for (const auto& row : window)
        for (std::size_t c = 0; c < t.size(); ++c)
            EXPECT_EQ(row.values[c], store->GetItemProperty(row.item.entryId, t[c]));
}

// A file written before items kept their hot columns gets them when it is opened (and names an
// older program mapped since, when opened again); one that cannot be written reads them from
// the properties.
TEST_F(StoreTest, FileWithoutKeptColumnsReadsTheSame)
{
    const auto file = Dir() / "old.db";
    std::vector<PropTag> tags;
    std::string folder;
    {
        auto store = Store::Create(file, "Alt", StoreKind::UnicodePersonal);
        const KeptCalendar cal(*store);
        tags = cal.tags;
        folder = cal.folder;
    }
    std::string drop = "DROP TRIGGER props_hot_insert; DROP TRIGGER props_hot_delete; "
                       "DROP TRIGGER props_hot_update; DROP TABLE hot_tags; "
                       "DELETE FROM meta WHERE key = 'hot_columns'; DROP INDEX items_start; "
                       "DROP INDEX items_series;";
    for (int k = 0; k < 16; ++k)
        drop += "ALTER TABLE items DROP COLUMN h" + std::to_string(k) + ";";
    Exec(file, drop);

    {
        const ReadOnlyFile unwritableFile(file);
        if (!unwritableFile.Held())
            GTEST_SKIP() << "no file can be made read-only here";
        auto readOnly = Store::Open(file);
        ExpectRowsAsStored(*readOnly, folder, tags, "read-only");
    }

    {
        auto store = Store::Open(file);
        ExpectRowsAsStored(*store, folder, tags, "opened once");
        StoreBuilder(*store).Appointment(folder, "Später", MakeLocalTime(2024, 6, 1, 8),
                                         MakeLocalTime(2024, 6, 1, 9));
        ExpectRowsAsStored(*store, folder, tags, "written after");
    }
    // An older program maps a hot name (the task's due date) and stores it on an item.
    const PropTag due = MakeTag(0x8F00, PT_SYSTIME);
    Exec(file, "INSERT INTO named_props(id, guid, lid) VALUES(36608, '" + std::string(PSETID_Task) +
                   "', " + std::to_string(props::LID_TaskDueDate) +
                   "); INSERT INTO props(item_id, tag, value) SELECT MIN(id), " +
                   std::to_string(due) + ", 1717171717 FROM items");
    tags.push_back(due);
    auto store = Store::Open(file);
    ExpectRowsAsStored(*store, folder, tags, "opened again");
    const auto first = store->Items(folder).at(0).entryId;
    EXPECT_EQ(store->GetItemProperty(first, due), PropValue(SysTime{1717171717}));
    store->SetItemProperty(first, due, SysTime{5});
    ExpectRowsAsStored(*store, folder, tags, "due date changed");
}

// A calendar of 210 days with one item a day (some all-day, some across midnight, some with
// an importance or an attachment), weekly series among them and a second folder over the same
// days, for window reads.
struct WindowCalendar
{
    std::string folder;
    std::vector<PropTag>
        tags; // subject, start, end, recurring, importance, attachment, id, location
    PropTag start = 0, recurring = 0;
    std::vector<std::string> series;

    explicit WindowCalendar(Store& store)
    {
        StoreBuilder b(store);
        folder = b.Folder("Kalender", ItemType::Appointment).entryId;
        const auto other = b.Folder("Andere", ItemType::Appointment).entryId;
        const auto named = [&](std::uint32_t lid, std::uint16_t type) {
            return b.NamedTag(NamedProperty::Lid(PSETID_Appointment, lid), type);
        };
        start = named(props::LID_AppointmentStart, PT_SYSTIME);
        recurring = named(props::LID_Recurring, PT_BOOLEAN);
        tags = {props::PR_SUBJECT,
                start,
                named(props::LID_AppointmentEnd, PT_SYSTIME),
                recurring,
                props::PR_IMPORTANCE,
                props::PR_HASATTACH,
                props::PR_ENTRYID,
                named(props::LID_Location, PT_STRING8)};
        const std::uint8_t data[] = {1, 2, 3};
        for (int d = 0; d < 210; ++d) {
            const auto day = CivilFromDay(DayFromCivil({2024, 1, 1}) + d);
            const bool late = d % 10 == 3;
            auto item = b.Appointment(
                folder, "Tag " + std::to_string(d),
                MakeLocalTime(day.year, day.month, day.day, late ? 23 : 9),
                MakeLocalTime(day.year, day.month, day.day, late ? 23 : 10, late ? 59 : 0));
            if (d % 7 == 0)
                item.AllDay().Location("Ganztags");
            if (d % 3 == 0)
                item.Set(props::PR_IMPORTANCE, static_cast<std::int32_t>(d % 9 == 0 ? 2 : 1));
            if (d % 50 == 0)
                item.AttachFile("a.bin", data);
            if (d % 40 == 5) {
                RecurrencePattern weekly;
                weekly.type = RecurrenceType::Weekly;
                weekly.dayOfWeekMask = kMonday;
                weekly.patternStartDay = DayFromCivil(day);
                weekly.startMinute = 9 * 60;
                weekly.durationMinutes = 60;
                if (d % 80 == 45) {
                    weekly.end = RecurrenceEnd::ByCount;
                    weekly.occurrenceCount = 6;
                }
                item.Recur(weekly);
                // The first series keeps every occurrence; the others lose one and move one.
                const auto monday = [&](int week) {
                    return CivilFromDay(*weekly.FirstOnOrAfter(weekly.patternStartDay) + 7 * week);
                };
                if (d > 5) {
                    item.DeleteOccurrence(monday(1));
                    const auto to = monday(2);
                    item.ModifyOccurrence(to, {MakeLocalTime(to.year, to.month, to.day, 14),
                                               MakeLocalTime(to.year, to.month, to.day, 15),
                                               "Verschoben",
                                               {},
                                               {}});
                }
                series.push_back(item.EntryId());
            }
            auto foreign = b.Appointment(other, "Fremd " + std::to_string(d),
                                         MakeLocalTime(day.year, day.month, day.day, 12),
                                         MakeLocalTime(day.year, day.month, day.day, 13));
            if (d == 100) {
                RecurrencePattern daily;
                daily.patternStartDay = DayFromCivil(day);
                daily.durationMinutes = 30;
                foreign.Recur(daily).DeleteOccurrence(CivilFromDay(DayFromCivil(day) + 1));
            }
        }
        b.Item(folder, "IPM.Appointment"); // holds none of them
    }

    // The folder's rows with a value in at least one range, by testing every row.
    std::vector<TableRow> Filtered(Store& store, std::span<const ValueRange> anyOf) const
    {
        std::vector<TableRow> out;
        for (auto& row : store.ReadTable(folder, tags)) {
            const auto in = [&](const ValueRange& r) {
                const auto at = std::find(tags.begin(), tags.end(), r.tag) - tags.begin();
                const auto& v = row.values[static_cast<std::size_t>(at)];
                if (!v)
                    return false;
                std::int64_t n = 0;
                if (const auto* t = std::get_if<SysTime>(&*v))
                    n = t->seconds;
                else if (const auto* f = std::get_if<bool>(&*v))
                    n = *f;
                else
                    n = std::get<std::int32_t>(*v);
                return (!r.low || n >= *r.low) && (!r.high || n <= *r.high);
            };
            if (std::any_of(anyOf.begin(), anyOf.end(), in))
                out.push_back(std::move(row));
        }
        return out;
    }
};

void ExpectSameRows(const std::vector<TableRow>& got, const std::vector<TableRow>& expected,
                    const std::string& when)
{
    ASSERT_EQ(got.size(), expected.size()) << when;
    for (std::size_t r = 0; r < got.size(); ++r) {
        EXPECT_EQ(got[r].item.entryId, expected[r].item.entryId) << when << " row " << r;
        EXPECT_EQ(got[r].item.messageClass, expected[r].item.messageClass) << when;
        EXPECT_EQ(got[r].item.folderEntryId, expected[r].item.folderEntryId) << when;
        EXPECT_EQ(got[r].values, expected[r].values) << when << " row " << r;
    }
}

// A window read answers from the start and series indexes, from the value index, or by one
// walk of the folder when the ranges hold a large share of it: each way gives exactly the
// folder's rows with a value in the ranges, in creation order, also in a file made before the
// window indexes.
TEST_F(StoreTest, WindowReadsGiveTheRowsOfTheirRangesWhicheverWayTheyRead)
{
    const auto file = Dir() / "w.db";
    auto store = Store::Create(file, "W", StoreKind::UnicodePersonal);
    const WindowCalendar cal(*store);
    const auto at = [](int month, int day, int hour = 0) {
        return LocalToUtc(MakeLocalTime(2024, month, day, hour)).seconds;
    };
    const std::optional<std::int64_t> open;
    const struct
    {
        const char* name;
        std::vector<ValueRange> ranges;
        std::size_t atLeast;
    } cases[] = {
        {"a week of starts", {{cal.start, at(3, 4), at(3, 11) - 1}}, 7},
        {"a week from one start to another", {{cal.start, at(3, 5, 9), at(3, 12, 9)}}, 8},
        {"half the year of starts", {{cal.start, at(2, 1), at(6, 30)}}, 150},
        {"the series", {{cal.recurring, 1, 1}}, 5},
        {"the series and a week", {{cal.recurring, 1, 1}, {cal.start, at(5, 6), at(5, 12)}}, 12},
        {"the series and half the year",
         {{cal.recurring, 1, 1}, {cal.start, at(1, 15), at(6, 15)}},
         150},
        {"not recurring", {{cal.recurring, 0, 0}}, 200},
        {"from a day on", {{cal.start, at(7, 1), open}}, 28},
        {"up to a day", {{cal.start, open, at(1, 20)}}, 19},
        {"overlapping weeks",
         {{cal.start, at(4, 1), at(4, 14)}, {cal.start, at(4, 8), at(4, 21)}},
         20},
        {"a rare importance", {{props::PR_IMPORTANCE, 2, 2}}, 20},
        {"a common importance", {{props::PR_IMPORTANCE, 1, open}}, 70},
        {"importance or a week",
         {{props::PR_IMPORTANCE, 2, 2}, {cal.start, at(2, 1), at(2, 7)}},
         25},
        {"nothing", {{cal.start, at(12, 1), at(12, 31)}}, 0},
    };
    const auto check = [&](Store& s, const std::string& when) {
        for (const auto& c : cases) {
            const auto expected = cal.Filtered(s, c.ranges);
            EXPECT_GE(expected.size(), c.atLeast) << when << ": " << c.name;
            ExpectSameRows(s.ReadTableInRanges(cal.folder, cal.tags, c.ranges), expected,
                           when + ": " + c.name);
        }
    };
    check(*store, "new file");
    store.reset();

    // A file from before the window indexes gets them when opened.
    Exec(file, "DROP INDEX items_start; DROP INDEX items_series");
    {
        const ReadOnlyFile unwritableFile(file);
        if (!unwritableFile.Held())
            GTEST_SKIP() << "no file can be made read-only here";
        check(*Store::Open(file), "read-only without the indexes");
    }
    store = Store::Open(file);
    check(*store, "indexes made on open");
    store.reset();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw,
                                 "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                                 "name IN ('items_start', 'items_series')",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 2);
    sqlite3_finalize(st);
    sqlite3_close(raw);
}

// A folder's series read at once are each series' own pattern with its exceptions (none,
// deleted, moved), and only the folder's.
TEST_F(StoreTest, FolderRecurrencesAreEachSeriesOwnPattern)
{
    auto store = Store::Create(Dir() / "f.db", "F", StoreKind::UnicodePersonal);
    const WindowCalendar cal(*store);
    const auto all = store->FolderRecurrences(cal.folder);
    ASSERT_EQ(all.size(), cal.series.size());
    std::size_t exceptions = 0;
    for (const auto& id : cal.series) {
        const auto own = store->GetRecurrence(id);
        ASSERT_TRUE(own) << id;
        ASSERT_EQ(all.count(id), 1u) << id;
        const auto& read = all.at(id);
        EXPECT_EQ(read.type, own->type);
        EXPECT_EQ(read.patternStartDay, own->patternStartDay);
        EXPECT_EQ(read.end, own->end);
        EXPECT_EQ(read.occurrenceCount, own->occurrenceCount);
        EXPECT_EQ(read.startMinute, own->startMinute);
        ASSERT_EQ(read.exceptions.size(), own->exceptions.size()) << id;
        for (std::size_t k = 0; k < read.exceptions.size(); ++k) {
            const auto& a = read.exceptions[k];
            const auto& b = own->exceptions[k];
            EXPECT_EQ(a.originalDay, b.originalDay);
            EXPECT_EQ(a.deleted, b.deleted);
            EXPECT_EQ(a.start, b.start);
            EXPECT_EQ(a.end, b.end);
            EXPECT_EQ(a.itemEntryId, b.itemEntryId);
            EXPECT_EQ(a.itemEntryId.empty(), a.deleted);
        }
        exceptions += read.exceptions.size();
    }
    EXPECT_TRUE(all.at(cal.series.front()).exceptions.empty());
    EXPECT_EQ(exceptions, 2 * (cal.series.size() - 1));
}

TEST_F(StoreTest, ForEachItemReadsAllPropertiesInOrder)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto folder = b.Folder("F", ItemType::Mail).entryId;
    b.Mail(folder, "a").Body("x");
    b.Item(folder, "IPM.Note");
    b.Mail(folder, "c");
    std::vector<std::size_t> counts;
    store->ForEachItem(
        folder, [&](const ItemWithProperties& item) { counts.push_back(item.properties.size()); });
    EXPECT_EQ(counts, (std::vector<std::size_t>{3, 0, 2}));
}

TEST_F(StoreTest, RecurringSeriesKeepsPatternAndExceptionsAcrossReopen)
{
    const auto file = Dir() / "s.db";
    std::string master, exceptionItem;
    RecurrencePattern pattern;
    pattern.type = RecurrenceType::MonthNth;
    pattern.dayOfWeekMask = kFriday;
    pattern.instance = 5;
    pattern.interval = 1;
    pattern.startMinute = 8 * 60;
    pattern.durationMinutes = 45;
    pattern.patternStartDay = DayFromCivil({2024, 1, 1});
    pattern.end = RecurrenceEnd::ByCount;
    pattern.occurrenceCount = 6;
    {
        auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        const auto cal = b.DefaultFolder(FolderRole::Calendar).entryId;
        auto series = b.Appointment(cal, "Monatsabschluss", MakeLocalTime(2024, 1, 26, 8),
                                    MakeLocalTime(2024, 1, 26, 8, 45));
        series.Recur(pattern)
            .DeleteOccurrence({2024, 2, 23})
            .ModifyOccurrence({2024, 3, 29}, {MakeLocalTime(2024, 3, 28, 10),
                                              MakeLocalTime(2024, 3, 28, 11),
                                              "Abschluss vorgezogen",
                                              "Raum Süd",
                                              {}});
        master = series.EntryId();
        EXPECT_EQ(store->ItemCount(cal), 1u);
    }
    auto store = Store::Open(file);
    const auto read = store->GetRecurrence(master);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->type, RecurrenceType::MonthNth);
    EXPECT_EQ(read->LastDay(), std::optional<std::int32_t>(DayFromCivil({2024, 6, 28})));
    ASSERT_EQ(read->exceptions.size(), 2u);
    EXPECT_FALSE(read->GetOccurrence(MakeLocalTime(2024, 2, 23)));
    const auto moved = read->GetOccurrence(MakeLocalTime(2024, 3, 29));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->state, RecurrenceState::Exception);
    EXPECT_EQ(moved->start, MakeLocalTime(2024, 3, 28, 10));
    exceptionItem = moved->itemEntryId;
    EXPECT_EQ(store->GetItem(exceptionItem).kind, ItemKind::Exception);
    EXPECT_EQ(store->GetItemProperty(exceptionItem, props::PR_SUBJECT),
              PropValue(std::string("Abschluss vorgezogen")));
    const auto location = store->GetIdFromName(NamedProperty::Lid(PSETID_Appointment, 0x8208));
    ASSERT_TRUE(location);
    EXPECT_EQ(store->GetItemProperty(exceptionItem, MakeTag(*location, PT_STRING8)),
              PropValue(std::string("Raum Süd")));
    const auto recurring = store->GetIdFromName(NamedProperty::Lid(PSETID_Appointment, 0x8223));
    EXPECT_EQ(store->GetItemProperty(master, MakeTag(*recurring, PT_BOOLEAN)), PropValue(true));

    store->ClearRecurrence(master);
    EXPECT_FALSE(store->GetRecurrence(master));
    EXPECT_FALSE(store->FindItem(exceptionItem));
}

TEST_F(StoreTest, ForeignFilesAreRefusedAndLeftAsTheyWere)
{
    const auto junk = Dir() / "junk.db";
    const std::string text = "not a database, but somebody's notes\n";
    {
        std::ofstream out(junk, std::ios::binary);
        out << text;
    }
    EXPECT_THROW(Store::Open(junk), StoreError);
    EXPECT_THROW(Store::Create(junk, "S", StoreKind::UnicodePersonal), StoreError);
    EXPECT_THROW(Profile::Create(Dir()), StoreError);
    std::ifstream in(junk, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(after, text);
    EXPECT_THROW(Store::Open(Dir() / "missing.db"), StoreError);
    EXPECT_THROW(Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal, "XYZ"), StoreError);
}

// The dates a series keeps as text read back whatever way they were written; damaged ones are
// refused.
TEST_F(StoreTest, SeriesDatesReadInEveryWrittenFormAndRefuseDamage)
{
    const auto file = Dir() / "d.db";
    auto store = Store::Create(file, "D", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto cal = b.DefaultFolder(FolderRole::Calendar).entryId;
    RecurrencePattern pattern;
    pattern.type = RecurrenceType::Daily;
    pattern.interval = 1;
    pattern.startMinute = 9 * 60;
    pattern.durationMinutes = 60;
    pattern.patternStartDay = DayFromCivil({2024, 5, 6});
    OccurrenceChange moved;
    moved.start = MakeLocalTime(2024, 5, 8, 11);
    moved.end = MakeLocalTime(2024, 5, 8, 12);
    const auto series =
        b.Appointment(cal, "Täglich", MakeLocalTime(2024, 5, 6, 9), MakeLocalTime(2024, 5, 6, 10))
            .Recur(pattern)
            .ModifyOccurrence({2024, 5, 8}, moved)
            .EntryId();
    const struct
    {
        const char* start;
        const char* moved;
        std::optional<CivilDate> day; // nullopt: refused
        int movedHour;
    } cases[] = {
        {"2024-05-07", "2024-05-08 11:00:00", CivilDate{2024, 5, 7}, 11},
        {"2024-5-7", "2024-5-8 7:00:00", CivilDate{2024, 5, 7}, 7},
        {"2024-05-07", "2024-05-08 13:00:00x", CivilDate{2024, 5, 7}, 13},
        {"2024-13-07", "2024-05-08 11:00:00", std::nullopt, 0},
        {"2024-02-30", "2024-05-08 11:00:00", std::nullopt, 0},
        {"2024-05-07", "2024-05-08 11:00", std::nullopt, 0},
        {"gestern", "2024-05-08 11:00:00", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        Exec(file, std::string("UPDATE recurrence SET start_date = '") + c.start +
                       "'; UPDATE exceptions SET start_local = '" + c.moved + "'");
        if (!c.day) {
            EXPECT_THROW(store->GetRecurrence(series), StoreError) << c.start << " " << c.moved;
            EXPECT_THROW(store->FolderRecurrences(cal), StoreError) << c.start << " " << c.moved;
            continue;
        }
        const auto read = store->GetRecurrence(series);
        ASSERT_TRUE(read) << c.start;
        EXPECT_EQ(read->patternStartDay, DayFromCivil(*c.day)) << c.start;
        ASSERT_EQ(read->exceptions.size(), 1u);
        EXPECT_EQ(read->exceptions[0].start, MakeLocalTime(2024, 5, 8, c.movedHour)) << c.moved;
        EXPECT_EQ(store->FolderRecurrences(cal).at(series).exceptions.at(0).start,
                  read->exceptions[0].start);
    }
}

// The reasons a damaged value or series date is refused with are said in the run's language,
// and the error keeps its kind and cause.
TEST_F(StoreTest, DamageIsToldInTheRunsLanguage)
{
    const auto file = Dir() / "w.db";
    const PropTag when = MakeTag(0x6601, PT_SYSTIME);
    const PropTag names = MakeTag(0x6602, PT_MV_UNICODE);
    std::string series;
    {
        auto store = Store::Create(file, "W", StoreKind::UnicodePersonal);
        store->SetProperty(when, SysTime{86400});
        store->SetProperty(names, MultiString{"a", "b"});
        StoreBuilder b(*store);
        RecurrencePattern pattern;
        pattern.type = RecurrenceType::Daily;
        pattern.interval = 1;
        pattern.durationMinutes = 60;
        pattern.patternStartDay = DayFromCivil({2024, 5, 6});
        series = b.Appointment(b.DefaultFolder(FolderRole::Calendar).entryId, "T",
                               MakeLocalTime(2024, 5, 6), MakeLocalTime(2024, 5, 6, 1))
                     .Recur(pattern)
                     .EntryId();
    }
    const struct
    {
        const char* what;
        const char* sql;
        const char* german;
        const char* english;
    } cases[] = {
        {"a time kept as a fraction", "UPDATE store_props SET value = 2.5 WHERE tag = 1711341632",
         "beschädigter Eigenschaftswert: ein Wert des Typs 64 ist als eine Gleitkommazahl "
         "gespeichert",
         "damaged property value: a value of type 64 is stored as a floating-point number"},
        {"a list cut short",
         "UPDATE store_props SET value = '[\"a\", \"b' WHERE typeof(value) = 'text'",
         "beschädigter Eigenschaftswert: die Textliste endet vorzeitig",
         "damaged property value: the text list ends early"},
        {"a list with a stray character",
         "UPDATE store_props SET value = '[\"a\"; \"b\"]' WHERE typeof(value) = 'text'",
         "die Textliste hat ein anderes Zeichen als \",\" zwischen zwei Texten",
         "the text list has a character other than \",\" between two texts"},
        {"a series date", "UPDATE recurrence SET start_date = 'gestern'",
         "beschädigtes Datum in einer Serie: \"gestern\"", "damaged date in a series: \"gestern\""},
        // SQLite's own words, framed, and never the statement that failed.
        {"a table gone", "DROP TABLE store_props", "SQLite meldet zu \"",
         "SQLite reports on \""},
    };
    const std::string before = locale::Current().name;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto damaged = Dir() / (std::string(c.what) + ".db");
        std::filesystem::copy_file(file, damaged);
        Exec(damaged, c.sql);
        for (const auto& [name, words] :
             {std::pair{"de-DE", c.german}, std::pair{"en-US", c.english}}) {
            locale::SetCurrent(name);
            try {
                const auto store = Store::Open(damaged);
                store->GetProperty(when);
                store->GetProperty(names);
                store->GetRecurrence(series);
                ADD_FAILURE() << name << ": no error";
            } catch (const StoreError& e) {
                EXPECT_THAT(e.what(), ::testing::HasSubstr(words)) << name;
                EXPECT_THAT(e.what(), ::testing::Not(::testing::HasSubstr("SELECT"))) << name;
                EXPECT_EQ(e.Kind(), StoreErrorKind::Database);
                EXPECT_EQ(e.Failure(), StoreFailure::Damaged);
            }
        }
    }
    locale::SetCurrent(before);
}

TEST_F(StoreTest, SeriesRefusesExceptionItemsOfAnotherSeries)
{
    auto store = Store::Create(Dir() / "s.db", "S", StoreKind::UnicodePersonal);
    StoreBuilder b(*store);
    const auto cal = b.DefaultFolder(FolderRole::Calendar).entryId;
    RecurrencePattern daily;
    daily.patternStartDay = DayFromCivil({2024, 5, 1});
    daily.durationMinutes = 30;
    auto one =
        b.Appointment(cal, "eins", MakeLocalTime(2024, 5, 1), MakeLocalTime(2024, 5, 1, 0, 30));
    auto two =
        b.Appointment(cal, "zwei", MakeLocalTime(2024, 5, 1), MakeLocalTime(2024, 5, 1, 0, 30));
    one.Recur(daily).ModifyOccurrence({2024, 5, 3}, {});
    two.Recur(daily);
    auto stolen = *store->GetRecurrence(two.EntryId());
    stolen.exceptions = store->GetRecurrence(one.EntryId())->exceptions;
    EXPECT_THROW(store->SetRecurrence(two.EntryId(), stolen), StoreError);
    EXPECT_TRUE(store->GetRecurrence(two.EntryId())->exceptions.empty());
    EXPECT_THROW(one.ModifyOccurrence({2024, 5, 3}, {}), StoreError);
    EXPECT_THROW(one.DeleteOccurrence({2024, 4, 30}), StoreError);
    EXPECT_FALSE(store->GetRecurrence(b.Mail(cal, "x").EntryId()));
    EXPECT_THROW(b.Mail(cal, "y").DeleteOccurrence({2024, 5, 3}), StoreError);
}

} // namespace
} // namespace platform::store::test
