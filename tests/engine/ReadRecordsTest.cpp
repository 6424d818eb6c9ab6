#include "ReadFixture.h"

#include "engine/Filter.h"

#include "platform/mapi/ErrorNumbers.h"
#include "platform/runtime/Notices.h"
#include "platform/store/RecurrencePattern.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <utility>

namespace engine::test {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

class ReadRecordsTest : public ReadFixture
{
protected:
    // Items of every class in the default store, inside the default window (today .. +90).
    void FillDefaultFolders()
    {
        B().Appointment(m_calendar.entryId, "Termin", L(2024, 5, 20, 10), L(2024, 5, 20, 11));
        B().Task(m_tasks.entryId, "Aufgabe");
        B().JournalEntry(m_journal.entryId, "Anruf", "Telefonanruf", L(2024, 5, 16, 9), 15);
        B().Mail(m_inbox.entryId, "Post");
    }
};

} // namespace

TEST_F(ReadRecordsTest, ReadsEveryItemClassAndPassesOverMail)
{
    FillDefaultFolders();
    SubjectColumn();
    FolderDataList list;
    list.Add(Entry(m_inbox));
    list.Add(Entry(m_calendar));
    list.Add(Entry(m_tasks));
    list.Add(Entry(m_journal));
    EXPECT_THAT(ReadColumn(list), ElementsAre("Termin", "Aufgabe", "Anruf"));
    EXPECT_EQ(list.Count(), 4) << "the mail folder stays in the caller's list";
    std::vector<long> classes;
    for (const auto& oRecord : *Root().Records())
        classes.push_back(oRecord->Class());
    EXPECT_THAT(classes, ElementsAre(1, 3, 4));
}

TEST_F(ReadRecordsTest, EmptyListAndEmptyFoldersGiveNoRecords)
{
    SubjectColumn();
    FolderDataList empty;
    EXPECT_THAT(ReadColumn(empty), IsEmpty());
    FolderDataList list;
    list.Add(Entry(m_calendar));
    list.Add(Entry(m_tasks));
    EXPECT_THAT(ReadColumn(list), IsEmpty());
    EXPECT_EQ(list.Count(), 2) << "empty folders stay in the list";
}

TEST_F(ReadRecordsTest, FoldersThatCannotBeOpenedDropOutOfTheList)
{
    FillDefaultFolders();
    SubjectColumn();
    auto gone = std::make_shared<FolderData>();
    gone->Init("00DEADBEEF", Store().EntryId(), "weg", 0, false);
    auto otherStore = std::make_shared<FolderData>();
    otherStore->Init(m_calendar.entryId, "00NOSUCHSTORE", "falscher Speicher", 0, false);
    FolderDataList list;
    list.Add(Entry(m_calendar), "a");
    list.Add(gone, "b");
    list.Add(Entry(m_tasks), "c");
    list.Add(otherStore, "d");
    list.Add(Entry(m_journal), "e");
    EXPECT_THAT(ReadColumn(list), ElementsAre("Termin", "Aufgabe", "Anruf"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1)->EntryID(), m_calendar.entryId);
    EXPECT_EQ(list.Item(2)->EntryID(), m_tasks.entryId);
    EXPECT_EQ(list.Item(3)->EntryID(), m_journal.entryId);
    EXPECT_FALSE(list.Contains("b"));
    EXPECT_FALSE(list.Contains("d"));
}

TEST_F(ReadRecordsTest, AFolderThatCannotBeReadIsLoggedByNameAndTheOthersAreRead)
{
    FillDefaultFolders();
    SubjectColumn();
    st::StoreBuilder oArchive(ArchiveStore());
    const auto oBroken = oArchive.Folder("Alte Termine", st::ItemType::Appointment);
    oArchive.Appointment(oBroken.entryId, "Archiviert", L(2024, 5, 21, 10), L(2024, 5, 21, 11));
    // The store opens, but its items cannot be read any more.
    {
        sqlite3* pDb = nullptr;
        ASSERT_EQ(sqlite3_open(ArchiveStore().File().c_str(), &pDb), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(pDb, "DROP TABLE items", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(pDb);
    }
    // As the report definitions keep it: without a name.
    auto oUnnamed = std::make_shared<FolderData>();
    oUnnamed->Init(oBroken.entryId, ArchiveStore().EntryId(), "", 0, false);
    FolderDataList list;
    list.Add(Entry(m_calendar));
    list.Add(oUnnamed);
    list.Add(Entry(m_tasks));
    std::vector<rt::Notice> vUnread;
    rt::SetNoticeListener([&](const rt::Notice& o) {
        if (o.kind == rt::Notice::Kind::FolderUnread)
            vUnread.push_back(o);
    });
    EXPECT_THAT(ReadColumn(list), ElementsAre("Termin", "Aufgabe"));
    rt::SetNoticeListener({});
    EXPECT_EQ(list.Count(), 3) << "a folder that failed is still the user's choice";
    // Whoever hosts the engine hears of it once, by the cause's number and the folder's own name.
    ASSERT_EQ(vUnread.size(), 1U);
    EXPECT_EQ(vUnread[0].subject, "Alte Termine");
    EXPECT_EQ(vUnread[0].value, platform::mapi::MAPI_E_CORRUPT_DATA);
    EXPECT_EQ(vUnread[0].entryId, oBroken.entryId);
    EXPECT_EQ(vUnread[0].storeId, ArchiveStore().EntryId());
    EXPECT_NE(vUnread[0].detail.find("no such table: items"), std::string::npos);
    EXPECT_EQ(vUnread[0].detail.find("Folder \""), std::string::npos) << "the cause alone";
    // The log says which folder failed, so that the user can be told.
    std::ifstream oLog(DataDir() / "config" / "Kestrova" / "Fenwick615" / "error.txt",
                       std::ios::binary);
    const std::string sLog(std::istreambuf_iterator<char>(oLog), {});
    EXPECT_NE(sLog.find("  Msg: Folder \"Alte Termine\" (entry " + oBroken.entryId + ", store " +
                        ArchiveStore().EntryId() + "): "),
              std::string::npos)
        << sLog;
    EXPECT_NE(sLog.find("no such table: items"), std::string::npos) << sLog;
    EXPECT_NE(sLog.find("Fenwick5.cFolder.LoopFoldersEx"), std::string::npos) << sLog;
    EXPECT_EQ(sLog.find("Folder \"Kalender\""), std::string::npos) << sLog;
}

// Whoever hosts the engine hears how many records of a folder the read keeps: none of a
// folder that fails before its first record, those read before the failure of one whose read
// breaks off (here another program made the open store's count of the tasks promise two more
// than there are).
TEST_F(ReadRecordsTest, AnUnreadFolderIsToldWithTheRecordsKeptOfIt)
{
    SubjectColumn();
    B().Appointment(m_calendar.entryId, "Termin", L(2024, 5, 20, 10), L(2024, 5, 20, 11));
    st::RecurrencePattern oDaily;
    oDaily.type = st::RecurrenceType::Daily;
    oDaily.interval = 1;
    oDaily.startMinute = 9 * 60;
    oDaily.durationMinutes = 60;
    oDaily.patternStartDay = st::DayFromCivil({2024, 5, 22});
    oDaily.end = st::RecurrenceEnd::ByCount;
    oDaily.occurrenceCount = 2;
    B().Appointment(m_calendar.entryId, "Serie", L(2024, 5, 22, 9), L(2024, 5, 22, 10))
        .Recur(oDaily);
    for (const char* sSubject : {"eins", "zwei", "drei"})
        B().Task(m_tasks.entryId, sSubject);
    FolderDataList list;
    list.Add(Entry(m_calendar));
    list.Add(Entry(m_tasks));
    // A first read opens the store; the damage comes after it.
    EXPECT_THAT(ReadColumn(list), ElementsAre("Termin", "Serie", "Serie", "eins", "zwei", "drei"));
    ExecOnStore("UPDATE recurrence SET start_date = 'gestern'; UPDATE folder_counts SET items = "
                "items + 2 WHERE folder_id = " +
                std::to_string(std::stoll(m_tasks.entryId.substr(42), nullptr, 16)));
    std::vector<rt::Notice> vUnread;
    rt::SetNoticeListener([&](const rt::Notice& o) {
        if (o.kind == rt::Notice::Kind::FolderUnread)
            vUnread.push_back(o);
    });
    const auto vRead = ReadColumn(list);
    rt::SetNoticeListener({});
    EXPECT_THAT(vRead, ElementsAre("eins", "zwei", "drei"));
    ASSERT_EQ(vUnread.size(), 2U);
    EXPECT_EQ(vUnread[0].entryId, m_calendar.entryId);
    EXPECT_EQ(vUnread[0].max, 0);
    EXPECT_EQ(vUnread[1].entryId, m_tasks.entryId);
    EXPECT_EQ(vUnread[1].max, 3);
}

TEST_F(ReadRecordsTest, FoldersStayInTheListWhenTheSessionCannotBeHad)
{
    FillDefaultFolders();
    SubjectColumn();
    FolderDataList list;
    list.Add(Entry(m_calendar));
    list.Add(Entry(m_tasks));
    // The client cannot open its profile: the read fails, and no folder counts as gone.
    mapi::SetCurrentProfile((DataDir() / "nowhere").string());
    EXPECT_THROW(Root().ReadRecords(list), rt::Error);
    EXPECT_EQ(list.Count(), 2);
    mapi::SetCurrentProfile((DataDir() / "profile").string());
    EXPECT_THAT(ReadColumn(list), ElementsAre("Termin", "Aufgabe"));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(ReadRecordsTest, FolderChunksCoverEveryFolderOnce)
{
    // 250 task folders, each with one task named after its position; some cannot be opened.
    struct
    {
        const char* settings;
        int folders;
    } cases[] = {{"ChunkSize=100\n", 250}, {"ChunkSize=100\n", 200}, {"ChunkSize=100\n", 100},
                 {"ChunkSize=0\n", 120},   {"ChunkSize=-5\n", 30},   {"ChunkSize=7\n", 50}};
    std::vector<st::FolderInfo> folders;
    for (int i = 1; i <= 250; ++i) {
        folders.push_back(B().Folder("Aufgaben " + std::to_string(i), st::ItemType::Task));
        B().Task(folders.back().entryId, std::to_string(i));
    }
    for (const auto& c : cases) {
        WriteSettings(c.settings);
        m_root.reset();
        FolderDataList list;
        std::vector<std::string> expected;
        for (int i = 1; i <= c.folders; ++i) {
            if (i % 40 == 0) {
                auto gone = std::make_shared<FolderData>();
                gone->Init("00GONE" + std::to_string(i), Store().EntryId(), "weg", 0, false);
                list.Add(gone);
                continue;
            }
            list.Add(Entry(folders[static_cast<std::size_t>(i - 1)]));
            expected.push_back(std::to_string(i));
        }
        SubjectColumn();
        EXPECT_EQ(ReadColumn(list), expected) << c.settings << c.folders;
        EXPECT_EQ(list.Count(), static_cast<std::int32_t>(expected.size())) << c.settings;
    }
}

TEST_F(ReadRecordsTest, ItemChunksCoverEveryItemOnce)
{
    for (int i = 1; i <= 250; ++i)
        B().Task(m_tasks.entryId, std::to_string(i));
    for (const char* settings : {"ChunkSize=100\n", "ChunkSize=0\n", "ChunkSize=abc\n",
                                 "ChunkSize=33\n", "ChunkSize=250\n"}) {
        WriteSettings(settings);
        m_root.reset();
        SubjectColumn();
        const auto subjects = Subjects({m_tasks});
        ASSERT_EQ(subjects.size(), 250u) << settings;
        for (int i = 1; i <= 250; ++i)
            EXPECT_EQ(subjects[static_cast<std::size_t>(i - 1)], std::to_string(i)) << settings;
    }
}

TEST_F(ReadRecordsTest, DueDateWindowReadsOnlyTaskFolders)
{
    FillDefaultFolders();
    B().Task(m_tasks.entryId, "fällig")
        .SetLid(st::PSETID_Task, st::props::LID_TaskDueDate, st::LocalToUtc(L(2024, 5, 16, 12)));
    SubjectColumn();
    Root().Records()->Filter()->SetTimeCondition(trDueDate, trTimeThisWeek);
    EXPECT_THAT(Subjects({m_calendar, m_tasks, m_journal}), ElementsAre("fällig"));

    // Without a window the due-date field restricts nothing: every folder is read.
    Root().Records()->Filter()->SetTimeCondition(trDueDate, trTimeNone);
    EXPECT_THAT(Subjects({m_calendar, m_tasks, m_journal}),
                ElementsAre("Termin", "Aufgabe", "fällig", "Anruf"));
}

TEST_F(ReadRecordsTest, OneSidedWindowsThroughEveryReader)
{
    // The restriction holds only the window's one bound; the other side is open however far
    // an item lies. Recurring appointments still need both: the missing one is 90 days from
    // the given one (the settings' defaults).
    const struct
    {
        const char* name;
        trTimeFilter preset;
        rt::Date from, to;                    ///< the dates handed to the filter
        bool bLower;                          ///< the bound is the window's start (else its end)
        ch::sys_days bound;                   ///< the bound's day
        ch::sys_days seriesFirst, seriesLast; ///< the daily series' occurrences read
    } cases[] = {
        {"from a date",
         trTimeFromDate,
         At(2024, 6, 3, 14, 30),
         {},
         true,
         Civil(2024, 6, 3),
         Civil(2024, 6, 3),
         Civil(2024, 9, 1)},
        {"from today",
         trTimeFromToday,
         {},
         {},
         true,
         Civil(2024, 5, 15),
         Civil(2024, 5, 15),
         Civil(2024, 8, 13)},
        {"up to a date",
         trTimeToDate,
         {},
         At(2024, 6, 7, 8),
         false,
         Civil(2024, 6, 7),
         Civil(2024, 3, 9),
         Civil(2024, 6, 7)},
        {"up to today",
         trTimeToToday,
         {},
         {},
         false,
         Civil(2024, 5, 15),
         Civil(2024, 2, 15),
         Civil(2024, 5, 15)},
    };
    st::RecurrencePattern daily;
    daily.patternStartDay = st::DayFromCivil({2024, 1, 1});
    daily.durationMinutes = 60;
    B().Appointment(m_calendar.entryId, "Serie", L(2024, 1, 1), L(2024, 1, 1, 1)).Recur(daily);
    SubjectColumn();
    Column("Start", 0, PT_SYSTIME, 3);
    const ch::days one{1}, far{730};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Items named by their time: far before, just before, on and just after both
        // instants of the bound's day, far after.
        const std::pair<ch::sys_days, int> times[] = {{c.bound - far, 12 * 60},
                                                      {c.bound - one, 23 * 60 + 59},
                                                      {c.bound, 0},
                                                      {c.bound, 23 * 60 + 59},
                                                      {c.bound + one, 0},
                                                      {c.bound + far, 12 * 60}};
        std::vector<std::string> made, expected;
        for (const auto& [day, minute] : times) {
            const auto at = L(day, minute / 60, minute % 60);
            const std::string sName = TextAt(day, minute / 60, minute % 60);
            made.push_back(B().Appointment(m_calendar.entryId, sName, at, at).EntryId());
            made.push_back(
                B().Task(m_tasks.entryId, sName)
                    .SetLid(st::PSETID_Task, st::props::LID_TaskDueDate, st::LocalToUtc(at))
                    .EntryId());
            made.push_back(B().JournalEntry(m_journal.entryId, sName, "Notiz", at, 15).EntryId());
            if (c.bLower ? day >= c.bound : day <= c.bound)
                expected.push_back(sName);
        }
        auto& oFilter = *Root().Records()->Filter();
        oFilter.SetTimeCondition(trStartDate, c.preset, rt::Variant(c.from), rt::Variant(c.to));
        FolderDataList list;
        list.Add(Entry(m_calendar));
        Root().ReadRecords(list);
        std::vector<std::string> got, series;
        for (const auto& oRecord : *Root().Records()) {
            const std::string sSubject = Text(oRecord->Fields(rt::Variant("Subject"))->Value());
            if (sSubject != "Serie") {
                got.push_back(sSubject);
                continue;
            }
            const auto* dt = oRecord->Fields(rt::Variant("Start"))->Value().Get<rt::Date>();
            ASSERT_NE(dt, nullptr);
            const auto f = rt::Fields(*dt);
            series.push_back(
                TextAt(Civil(f.year, unsigned(f.month), unsigned(f.day)), f.hour, f.minute));
        }
        EXPECT_THAT(got, ElementsAreArray(expected)) << "appointments";
        EXPECT_THAT(series, ElementsAreArray(Midnights(c.seriesFirst, c.seriesLast)));
        EXPECT_THAT(Subjects({m_journal}), ElementsAreArray(expected)) << "journal";
        oFilter.SetTimeCondition(trDueDate, c.preset, rt::Variant(c.from), rt::Variant(c.to));
        EXPECT_THAT(Subjects({m_calendar, m_tasks, m_journal}), ElementsAreArray(expected))
            << "tasks by due date";
        for (const auto& sEntryId : made)
            Store().DeleteItem(sEntryId);
    }
}

TEST_F(ReadRecordsTest, RecordsOfLargeReadsKeepTheirOwnValuesWhenKept)
{
    // Enough records over two folders of two stores that a read makes them in many pieces.
    std::map<std::string, std::string> subjectOf;
    std::map<std::string, std::string> storeOf;
    for (int i = 0; i < 150; ++i) {
        const auto item = B().Task(m_tasks.entryId, "P" + std::to_string(i));
        subjectOf[item.EntryId()] = "P" + std::to_string(i);
        storeOf[item.EntryId()] = Store().EntryId();
    }
    st::StoreBuilder archive(ArchiveStore());
    const auto oldTasks = archive.Folder("Alte Aufgaben", st::ItemType::Task);
    for (int i = 0; i < 70; ++i) {
        const auto item = archive.Task(oldTasks.entryId, "A" + std::to_string(i));
        subjectOf[item.EntryId()] = "A" + std::to_string(i);
        storeOf[item.EntryId()] = ArchiveStore().EntryId();
    }
    SubjectColumn();
    Column("Folder", 0, PT_LONG, 1);
    FolderDataList list;
    list.Add(Entry(m_tasks));
    list.Add(Entry(oldTasks, &ArchiveStore()));
    Root().ReadRecords(list);
    auto oRecords = Root().Records();
    ASSERT_EQ(oRecords->Count(), 220);
    std::set<std::string> seen;
    for (long i = 1; i <= oRecords->Count(); ++i) {
        const auto r = oRecords->Item(i);
        ASSERT_EQ(subjectOf.count(r->EntryID()), 1u) << i;
        EXPECT_TRUE(seen.insert(r->EntryID()).second) << i;
        EXPECT_EQ(Text(r->Fields(rt::Variant("subject"))->Value()), subjectOf[r->EntryID()]);
        EXPECT_EQ(r->Fields(rt::Variant("Subject")), r->Fields(1));
        EXPECT_EQ(r->StoreID(), storeOf[r->EntryID()]);
        EXPECT_EQ(Text(r->Fields(2)->Value()),
                  storeOf[r->EntryID()] == Store().EntryId() ? m_tasks.name : "Alte Aufgaben");
        EXPECT_EQ(r->Key(), std::to_string(i - 1));
    }
    // A record and a field kept by the caller outlive the read, the next read and the engine.
    const auto oKept = oRecords->Item(100);
    const auto oKeptField = oRecords->Item(219)->Fields(1);
    const std::string sKeptSubject = subjectOf[oKept->EntryID()];
    const std::string sKeptFieldText = Text(oKeptField->Value());
    Root().ReadRecords(list);
    m_root->Terminate();
    m_root.reset();
    oRecords.reset();
    EXPECT_EQ(Text(oKept->Fields(1)->Value()), sKeptSubject);
    EXPECT_EQ(oKept->Parent(), nullptr);
    EXPECT_EQ(Text(oKeptField->Value()), sKeptFieldText);
}

TEST_F(ReadRecordsTest, RecordKeysContinueAcrossReads)
{
    for (int i = 0; i < 5; ++i)
        B().Task(m_tasks.entryId, "T" + std::to_string(i));
    SubjectColumn();
    Subjects({m_tasks});
    auto oRecords = Root().Records();
    ASSERT_EQ(oRecords->Count(), 5);
    EXPECT_EQ(oRecords->Item(1)->Key(), "0");
    EXPECT_EQ(oRecords->Item(5)->Key(), "4");
    const auto oFirstOfFirstRead = oRecords->Item(1);
    Subjects({m_tasks});
    ASSERT_EQ(oRecords->Count(), 5);
    EXPECT_EQ(oRecords->Item(1)->Key(), "5");
    EXPECT_EQ(oRecords->Item(rt::Variant("9"))->Key(), "9");
    EXPECT_EQ(oRecords->Item(rt::Variant("4")), nullptr);
    EXPECT_EQ(oFirstOfFirstRead->Parent(), nullptr) << "records of the old read are unlinked";
    EXPECT_EQ(oRecords->Item(1)->Parent(), oRecords.get());
}

} // namespace engine::test
