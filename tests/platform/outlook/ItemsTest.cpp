#include "tests/platform/mapi/MapiFixture.h"

#include "platform/mapi/Constants.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/AppointmentItem.h"
#include "platform/outlook/Exception.h"
#include "platform/outlook/Exceptions.h"
#include "platform/outlook/Items.h"
#include "platform/outlook/JournalItem.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/MailItem.h"
#include "platform/outlook/NameSpace.h"
#include "platform/outlook/RecurrencePattern.h"
#include "platform/outlook/TaskItem.h"
#include "platform/store/LocalTime.h"

namespace platform::outlook::test {

namespace rt = platform::runtime;
namespace st = platform::store;
using mapi::test::RaisedNumber;

namespace {

rt::Date Local(int y, int m, int d, int h = 0, int min = 0)
{
    return rt::Date(rt::DateSerial(y, m, d).Serial() + (h * 60 + min) / 1440.0);
}

} // namespace

class ItemsTest : public mapi::test::MapiFixture
{
protected:
    std::shared_ptr<outlook::Items> ItemsOf(long folderType)
    {
        return m_app.GetNamespace("MAPI")->GetDefaultFolder(folderType)->Items();
    }
    Application m_app;
};

TEST_F(ItemsTest, EveryItemComesAsTheClientsClass)
{
    struct Case
    {
        st::FolderRole role;
        const char* messageClass;
        long folderType;
        const char* typeName;
    };
    const Case cases[] = {
        {st::FolderRole::Calendar, "IPM.Appointment", mapi::olFolderCalendar, "AppointmentItem"},
        {st::FolderRole::Tasks, "IPM.Task", mapi::olFolderTasks, "TaskItem"},
        {st::FolderRole::Journal, "IPM.Activity", mapi::olFolderJournal, "JournalItem"},
        {st::FolderRole::Inbox, "IPM.Note", mapi::olFolderInbox, "MailItem"},
        {st::FolderRole::Contacts, "IPM.Contact", mapi::olFolderContacts, "ContactItem"},
        {st::FolderRole::Notes, "IPM.StickyNote", mapi::olFolderNotes, "NoteItem"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeName);
        Builder().Item(Folder(c.role).entryId, c.messageClass).Subject("Eintrag");
        auto items = ItemsOf(c.folderType);
        ASSERT_EQ(items->Count(), 1);
        auto item = items->GetFirst();
        EXPECT_EQ(item->TypeName(), c.typeName);
        EXPECT_EQ(item->Subject(), "Eintrag");
        EXPECT_EQ(item->Parent()->EntryID(), Folder(c.role).entryId);
        EXPECT_FALSE(items->GetNext());
    }
    EXPECT_EQ(RaisedNumber([&] { ItemsOf(mapi::olFolderTasks)->Item(2); }),
              rt::errors::SubscriptOutOfRange);
}

TEST_F(ItemsTest, AppointmentsTasksAndJournalEntries)
{
    Builder()
        .Appointment(Folder(st::FolderRole::Calendar).entryId, "Sommerfest",
                     st::MakeLocalTime(2026, 7, 3, 16), st::MakeLocalTime(2026, 7, 3, 22))
        .Location("Biergarten")
        .Categories({"Team"});
    Builder()
        .Task(Folder(st::FolderRole::Tasks).entryId, "Bericht")
        .SetLid(st::PSETID_Task, st::props::LID_TaskStartDate,
                st::LocalToUtc(st::MakeLocalTime(2026, 3, 2)))
        .SetLid(st::PSETID_Task, st::props::LID_TaskDateCompleted,
                st::LocalToUtc(st::MakeLocalTime(2026, 3, 30)))
        .SetLid(st::PSETID_Task, st::props::LID_TaskStatus, 2)
        .SetLid(st::PSETID_Task, st::props::LID_PercentComplete, 1.0)
        .SetLid(st::PSETID_Task, st::props::LID_TaskComplete, true)
        .SetLid(st::PSETID_Task, st::props::LID_TaskTotalWork, 480)
        .SetLid(st::PSETID_Task, st::props::LID_TaskActualWork, 510);
    Builder()
        .JournalEntry(Folder(st::FolderRole::Journal).entryId, "Anruf Kunde", "Telefonanruf",
                      st::MakeLocalTime(2026, 10, 25, 1, 30), 90)
        .SetLid(st::PSETID_Common, st::props::LID_Companies,
                st::MultiString{"Kestrova GmbH", "Müller & Söhne"});

    auto appointment =
        std::dynamic_pointer_cast<AppointmentItem>(ItemsOf(mapi::olFolderCalendar)->Item(1));
    ASSERT_TRUE(appointment);
    EXPECT_EQ(appointment->Start(), Local(2026, 7, 3, 16));
    EXPECT_EQ(appointment->End(), Local(2026, 7, 3, 22));
    EXPECT_EQ(appointment->Duration(), 360);
    EXPECT_EQ(appointment->Location(), "Biergarten");
    EXPECT_EQ(appointment->Categories(), "Team");
    EXPECT_FALSE(appointment->AllDayEvent());
    EXPECT_FALSE(appointment->IsRecurring());
    EXPECT_EQ(appointment->RecurrenceState(), 0);

    auto task = std::dynamic_pointer_cast<TaskItem>(ItemsOf(mapi::olFolderTasks)->Item(1));
    ASSERT_TRUE(task);
    EXPECT_EQ(task->StartDate(), Local(2026, 3, 2));
    EXPECT_EQ(task->DateCompleted(), Local(2026, 3, 30));
    EXPECT_EQ(task->DueDate(), Local(4501, 1, 1));
    EXPECT_EQ(task->Status(), 2);
    EXPECT_DOUBLE_EQ(task->PercentComplete(), 100.0);
    EXPECT_TRUE(task->Complete());
    EXPECT_EQ(task->TotalWork(), 480);
    EXPECT_EQ(task->ActualWork(), 510);
    EXPECT_EQ(task->RecurrenceState(), 0);

    // The entry lies in the night of the autumn change; its times come back as stored.
    auto journal = std::dynamic_pointer_cast<JournalItem>(ItemsOf(mapi::olFolderJournal)->Item(1));
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Start(), Local(2026, 10, 25, 1, 30));
    EXPECT_EQ(journal->End(), Local(2026, 10, 25, 3, 0));
    EXPECT_EQ(journal->Duration(), 90);
    EXPECT_EQ(journal->Type(), "Telefonanruf");
    EXPECT_EQ(journal->Companies(), "Kestrova GmbH; Müller & Söhne");
}

TEST_F(ItemsTest, RecurrencePatternGivesTheClientsItems)
{
    st::RecurrencePattern monthly;
    monthly.type = st::RecurrenceType::Monthly;
    monthly.interval = 1;
    monthly.dayOfMonth = 31;
    monthly.startMinute = 8 * 60;
    monthly.durationMinutes = 30;
    monthly.patternStartDay = st::DayFromCivil({2028, 1, 31});
    monthly.end = st::RecurrenceEnd::ByCount;
    monthly.occurrenceCount = 5;
    Builder()
        .Appointment(Folder(st::FolderRole::Calendar).entryId, "Monatsabschluss",
                     st::MakeLocalTime(2028, 1, 31, 8), st::MakeLocalTime(2028, 1, 31, 8, 30))
        .Recur(monthly)
        .DeleteOccurrence({2028, 3, 31});

    auto master =
        std::dynamic_pointer_cast<AppointmentItem>(ItemsOf(mapi::olFolderCalendar)->Item(1));
    ASSERT_TRUE(master);
    EXPECT_TRUE(master->IsRecurring());
    EXPECT_EQ(master->RecurrenceState(), 1);
    auto pattern = master->GetRecurrencePattern();
    EXPECT_EQ(pattern->RecurrenceType(), 2);
    EXPECT_EQ(pattern->DayOfMonth(), 31);
    EXPECT_EQ(pattern->Occurrences(), 5);
    EXPECT_EQ(pattern->PatternEndDate(), Local(2028, 5, 31));
    // Day 31 falls on the last day of a short month: 29 February in a leap year.
    auto february =
        std::dynamic_pointer_cast<AppointmentItem>(pattern->GetOccurrence(Local(2028, 2, 29)));
    ASSERT_TRUE(february);
    EXPECT_EQ(february->RecurrenceState(), 2);
    EXPECT_EQ(february->Start(), Local(2028, 2, 29, 8));
    EXPECT_EQ(february->Duration(), 30);
    EXPECT_TRUE(RaisedNumber([&] { pattern->GetOccurrence(Local(2028, 3, 31)); }).has_value());
    EXPECT_TRUE(RaisedNumber([&] { pattern->GetOccurrence(Local(2028, 2, 28)); }).has_value());
    auto exceptions = pattern->Exceptions();
    ASSERT_EQ(exceptions->Count(), 1);
    EXPECT_TRUE(exceptions->Item(1)->Deleted());
    EXPECT_EQ(exceptions->Item(1)->OriginalDate(), Local(2028, 3, 31, 8));
    EXPECT_EQ(RaisedNumber([&] { exceptions->Item(1)->Item(); }), rt::errors::ObjectNotSet);
}

} // namespace platform::outlook::test
