#include "MapiFixture.h"

#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/RecurrenceException.h"
#include "platform/mapi/RecurrenceExceptions.h"
#include "platform/mapi/RecurrencePattern.h"
#include "platform/runtime/Conversion.h"
#include "platform/store/LocalTime.h"
#include "platform/store/StoreBuilder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace platform::mapi::test {

namespace rt = platform::runtime;

namespace {

rt::Date Local(int y, int m, int d, int h = 0, int min = 0)
{
    return rt::Date(rt::DateSerial(y, m, d).Serial() + (h * 60 + min) / 1440.0);
}

/// Every day from `first`, `count` times, at a minute of the day for `minutes`.
st::RecurrencePattern Daily(st::CivilDate first, int startMinute, int minutes, int count)
{
    st::RecurrencePattern daily;
    daily.type = st::RecurrenceType::Daily;
    daily.interval = 1;
    daily.startMinute = startMinute;
    daily.durationMinutes = minutes;
    daily.patternStartDay = st::DayFromCivil(first);
    daily.end = st::RecurrenceEnd::ByCount;
    daily.occurrenceCount = count;
    return daily;
}

} // namespace

using MessageTest = MapiFixture;

TEST_F(MessageTest, SentMailLandsInTheSentItemsFolderMarkedSent)
{
    auto session = LoggedOnSession();
    auto drafts = session->GetDefaultFolder(olFolderDrafts);
    auto mail = drafts->GetItems()->Add();
    mail->SetSubject("Bericht März");
    mail->SetBody("Anbei der Bericht.");
    EXPECT_EQ(mail->TypeName(), "MailItem");
    EXPECT_EQ(mail->EntryID(), "");
    EXPECT_EQ(RaisedNumber([&] { mail->Send(); }), -2147219963); // no recipients
    auto recipient = mail->GetRecipients()->Add("Vertrieb <vertrieb@kestrova.de>");
    EXPECT_FALSE(recipient->Resolved());
    EXPECT_EQ(RaisedNumber([&] { mail->Send(); }), -2147219963); // not resolved
    EXPECT_TRUE(recipient->Resolve());
    EXPECT_EQ(recipient->Name(), "Vertrieb");
    EXPECT_EQ(recipient->Address(), "vertrieb@kestrova.de");
    EXPECT_FALSE(mail->Sent());
    mail->Send();

    EXPECT_TRUE(mail->Sent());
    EXPECT_EQ(drafts->GetItems()->Count(), 0);
    auto sent = session->GetDefaultFolder(olFolderSentMail)->GetItems();
    ASSERT_EQ(sent->Count(), 1);
    EXPECT_EQ(sent->Item(1)->Subject(), "Bericht März");
    EXPECT_EQ(sent->Item(1)->EntryID(), mail->EntryID());
    EXPECT_TRUE(sent->Item(1)->Sent());
    EXPECT_EQ(sent->Item(1)->GetRecipients()->Item(1)->Address(), "vertrieb@kestrova.de");
    EXPECT_TRUE(sent->Item(1)->Fields(PR_CLIENT_SUBMIT_TIME).IsDate());
}

TEST_F(MessageTest, RecipientsThatAreNoAddressesDoNotResolve)
{
    auto mail = LoggedOnSession()->GetDefaultFolder(olFolderDrafts)->GetItems()->Add();
    for (const char* text : {"Jörg Müller", "a@b", "@kestrova.de", "x@y.de <", "a b@c.de"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(mail->GetRecipients()->Add(text)->Resolve());
    }
    EXPECT_EQ(mail->GetRecipients()->Count(), 5);
    EXPECT_FALSE(mail->GetRecipients()->ResolveAll());
}

TEST_F(MessageTest, RecipientsAreRemovedByPositionFromNewAndStoredMails)
{
    auto drafts = LoggedOnSession()->GetDefaultFolder(olFolderDrafts);
    auto mail = drafts->GetItems()->Add();
    for (const char* text : {"a@kestrova.de", "b@kestrova.de", "c@kestrova.de"})
        mail->GetRecipients()->Add(text);
    const auto addresses = [](Message& m) {
        std::vector<std::string> v;
        for (long i = 1; i <= m.GetRecipients()->Count(); ++i)
            v.push_back(m.GetRecipients()->Item(i)->Address());
        return v;
    };
    mail->GetRecipients()->Remove(2);
    EXPECT_EQ(addresses(*mail), (std::vector<std::string>{"a@kestrova.de", "c@kestrova.de"}));
    mail->Save();
    // Stored: the others keep their order, in the store too.
    mail->GetRecipients()->Add("d@kestrova.de");
    mail->GetRecipients()->Remove(1);
    EXPECT_EQ(addresses(*drafts->GetItems()->Item(1)),
              (std::vector<std::string>{"c@kestrova.de", "d@kestrova.de"}));
    EXPECT_EQ(RaisedNumber([&] { mail->GetRecipients()->Remove(3); }), 9);
    EXPECT_EQ(RaisedNumber([&] { mail->GetRecipients()->Remove(0); }), 9);
}

TEST_F(MessageTest, MoveWritesNewMessagesAndMovesStoredOnes)
{
    auto session = LoggedOnSession();
    auto drafts = session->GetDefaultFolder(olFolderDrafts);
    auto outbox = session->GetDefaultFolder(olFolderOutbox);
    auto mail = drafts->GetItems()->Add();
    mail->SetSubject("Entwurf");
    auto moved = mail->Move(drafts);
    EXPECT_NE(moved->EntryID(), "");
    EXPECT_EQ(drafts->GetItems()->Count(), 1);
    auto again = moved->Move(outbox);
    EXPECT_EQ(again->EntryID(), moved->EntryID());
    EXPECT_EQ(drafts->GetItems()->Count(), 0);
    EXPECT_EQ(outbox->GetItems()->Count(), 1);
    EXPECT_EQ(again->Parent()->EntryID(), outbox->EntryID());

    // Into another store: the message is copied there and leaves its old store.
    auto archiveFolder =
        Archive().CreateFolder(Archive().RootFolder().entryId, "Ablage", st::ItemType::Mail);
    auto target = session->GetFolderFromID(archiveFolder.entryId, rt::Variant(Archive().EntryId()));
    ASSERT_TRUE(target);
    auto archived = again->Move(target);
    EXPECT_EQ(archived->StoreID(), Archive().EntryId());
    EXPECT_EQ(archived->Subject(), "Entwurf");
    EXPECT_EQ(outbox->GetItems()->Count(), 0);
    EXPECT_EQ(target->GetItems()->Count(), 1);
}

TEST_F(MessageTest, AttachmentsAndBodies)
{
    const auto file = Dir() / "Bericht.csv";
    {
        std::ofstream out(file);
        out << "a;b\n1;2\n";
    }
    auto mail = LoggedOnSession()->GetDefaultFolder(olFolderDrafts)->GetItems()->Add();
    mail->SetBody("Zeile 1\r\nZeile {2}\\");
    EXPECT_EQ(mail->RTFBody(), "{\\rtf1\\ansi\\ansicpg65001 Zeile 1\\par Zeile \\{2\\}\\\\}");
    mail->SetRTFBody("{\\rtf1 neu}");
    EXPECT_EQ(mail->RTFBody(), "{\\rtf1 neu}");
    mail->SetHTMLBody(" ");
    EXPECT_EQ(mail->HTMLBody(), " ");

    auto attachments = mail->GetAttachments();
    attachments->Add(file.string());
    attachments->Add(file.string(), {}, 7, {});
    attachments->Add(file.string(), 1, {}, "Monatsbericht");
    EXPECT_EQ(RaisedNumber([&] { attachments->Add((Dir() / "fehlt.csv").string()); }),
              rt::errors::FileNotFound);
    EXPECT_EQ(RaisedNumber([&] { attachments->Add(file.string(), 5); }), rt::errors::NotSupported);
    auto stored = mail->Move(mail->Parent())->GetAttachments();
    ASSERT_EQ(stored->Count(), 3);
    EXPECT_EQ(stored->FileName(1), "Bericht.csv");
    EXPECT_EQ(stored->Position(1), -1);
    EXPECT_EQ(stored->Position(2), 7);
    EXPECT_EQ(stored->DisplayName(3), "Monatsbericht");
    EXPECT_EQ(stored->Size(1), 8);
}

TEST_F(MessageTest, TypedMembersOfAppointmentsAndTasks)
{
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    const auto tasks = Folder(st::FolderRole::Tasks).entryId;
    Builder()
        .Appointment(calendar, "Jour fixe", st::MakeLocalTime(2026, 3, 27, 9, 30),
                     st::MakeLocalTime(2026, 3, 27, 11, 0))
        .Location("Raum Köln")
        .Categories({"Büro", "Team"});
    Builder()
        .Task(tasks, "Steuererklärung")
        .SetLid(st::PSETID_Task, st::props::LID_TaskDueDate,
                st::LocalToUtc(st::MakeLocalTime(2026, 5, 31)))
        .SetLid(st::PSETID_Task, st::props::LID_TaskTotalWork, 600)
        .SetLid(st::PSETID_Task, st::props::LID_TaskActualWork, 90);
    auto session = LoggedOnSession();
    auto appointment = session->GetDefaultFolder(olFolderCalendar)->GetItems()->Item(1);
    EXPECT_TRUE(appointment->IsAppointment());
    EXPECT_EQ(appointment->Start(), Local(2026, 3, 27, 9, 30));
    EXPECT_EQ(appointment->End(), Local(2026, 3, 27, 11, 0));
    EXPECT_EQ(appointment->Duration(), 90);
    EXPECT_EQ(appointment->Location(), "Raum Köln");
    EXPECT_EQ(appointment->Categories(), "Büro; Team");
    EXPECT_FALSE(appointment->IsRecurring());
    EXPECT_EQ(appointment->RecurrenceState(), 0);
    EXPECT_EQ(RaisedNumber([&] { appointment->DueDate(); }), rt::errors::NotSupported);
    EXPECT_EQ(RaisedNumber([&] { appointment->GetRecurrencePattern(); }), rt::errors::NotSupported);
    // Fields gives stored dates in UTC: 09:30 in winter is 08:30 UTC.
    const auto startTag = appointment->GetIDsFromNames(PSETID_Appointment, 0x820D) | PT_SYSTIME;
    EXPECT_EQ(appointment->Fields(startTag), rt::Variant(Local(2026, 3, 27, 8, 30)));
    EXPECT_TRUE(appointment->Fields(PR_BODY).IsEmpty());
    EXPECT_TRUE(appointment->Fields(0).IsEmpty());

    auto task = session->GetDefaultFolder(olFolderTasks)->GetItems()->Item(1);
    EXPECT_TRUE(task->IsTask());
    EXPECT_EQ(task->TypeName(), "TaskItem");
    EXPECT_EQ(task->DueDate(), Local(2026, 5, 31));
    EXPECT_EQ(task->StartDate(), Local(4501, 1, 1)); // the client's "none"
    EXPECT_EQ(task->TotalWork(), 600);
    EXPECT_EQ(task->ActualWork(), 90);
    EXPECT_EQ(task->Status(), 0);
    EXPECT_FALSE(task->IsRecurring());
    EXPECT_EQ(RaisedNumber([&] { task->Start(); }), rt::errors::NotSupported);
}

TEST_F(MessageTest, LocalTimesBeyondTheCalendarInThisZoneAreToldApart)
{
    // Made in Los Angeles on the calendar's last evening: in New York and Berlin the item lies
    // in the year 10000, which a local date shows as the calendar's last second.
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    setenv("TZ", "America/Los_Angeles", 1);
    tzset();
    Builder().Appointment(calendar, "spät", st::MakeLocalTime(9999, 12, 31, 22),
                          st::MakeLocalTime(9999, 12, 31, 23, 30));
    Builder().Appointment(calendar, "früh", st::MakeLocalTime(9999, 12, 31, 8),
                          st::MakeLocalTime(9999, 12, 31, 9));
    const struct
    {
        const char* tz;
        bool beyond;
    } cases[] = {
        {"America/Los_Angeles", false}, {"America/New_York", true}, {"Europe/Berlin", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tz);
        setenv("TZ", c.tz, 1);
        tzset();
        auto items = LoggedOnSession()->GetDefaultFolder(olFolderCalendar)->GetItems();
        for (long i = 1; i <= items->Count(); ++i) {
            const auto item = items->Item(i);
            const auto startTag = item->GetIDsFromNames(PSETID_Appointment, 0x820D) | PT_SYSTIME;
            const bool late = item->Subject() == "spät";
            EXPECT_EQ(item->LocalTimeBeyondCalendar(startTag), late && c.beyond) << item->Subject();
            if (late && c.beyond) {
                EXPECT_EQ(
                    item->LocalTimeField(startTag),
                    rt::Date::FromLinear(Local(9999, 12, 31, 23, 59).Linear() + 59.0 / 86400.0));
            }
            EXPECT_FALSE(item->LocalTimeBeyondCalendar(PR_SUBJECT));
            EXPECT_FALSE(item->LocalTimeBeyondCalendar(0));
        }
    }
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
}

TEST_F(MessageTest, NamedPropertiesFollowEachStoresOwnMapping)
{
    // The archive maps other names first, so the same appointment names have other ids there;
    // and it maps the location only after an item was asked for it.
    st::StoreBuilder archive(Archive());
    for (const auto lid :
         {st::props::LID_TaskStatus, st::props::LID_TaskStartDate, st::props::LID_TaskDueDate})
        archive.NamedTag(st::NamedProperty::Lid(st::PSETID_Task, lid), st::PT_LONG);
    const auto appointments = archive.Folder("Termine", st::ItemType::Appointment);
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    const auto inDefault = Builder()
                               .Appointment(calendar, "Hier", st::MakeLocalTime(2026, 3, 27, 9),
                                            st::MakeLocalTime(2026, 3, 27, 10))
                               .Location("Köln")
                               .EntryId();
    const auto noPlace =
        archive
            .Appointment(appointments.entryId, "Dort", st::MakeLocalTime(2026, 4, 2, 14),
                         st::MakeLocalTime(2026, 4, 2, 16, 30))
            .EntryId();
    auto session = LoggedOnSession();
    auto here = session->GetMessageFromID(inDefault, Store().EntryId());
    auto there = session->GetMessageFromID(noPlace, Archive().EntryId());
    ASSERT_TRUE(here && there);
    EXPECT_EQ(there->Location(), "");
    const auto withPlace =
        archive
            .Appointment(appointments.entryId, "Dort auch", st::MakeLocalTime(2026, 4, 3, 8),
                         st::MakeLocalTime(2026, 4, 3, 8, 15))
            .Location("Bonn")
            .EntryId();
    auto thereToo = session->GetMessageFromID(withPlace, Archive().EntryId());
    ASSERT_TRUE(thereToo);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(here->Start(), Local(2026, 3, 27, 9)) << round;
        EXPECT_EQ(there->Start(), Local(2026, 4, 2, 14)) << round;
        EXPECT_EQ(thereToo->End(), Local(2026, 4, 3, 8, 15)) << round;
        EXPECT_EQ(here->Duration(), 60) << round;
        EXPECT_EQ(there->Duration(), 150) << round;
        EXPECT_EQ(here->Location(), "Köln") << round;
        EXPECT_EQ(thereToo->Location(), "Bonn") << round;
        EXPECT_EQ(there->Location(), "") << round;
    }
}

TEST_F(MessageTest, RecurrencePatternAnswersOccurrencesAndExceptions)
{
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    st::RecurrencePattern weekly;
    weekly.type = st::RecurrenceType::Weekly;
    weekly.interval = 1;
    weekly.dayOfWeekMask = st::kMonday | st::kWednesday;
    weekly.startMinute = 9 * 60;
    weekly.durationMinutes = 60;
    weekly.patternStartDay = st::DayFromCivil({2026, 3, 2});
    weekly.end = st::RecurrenceEnd::ByDate;
    weekly.patternEndDay = st::DayFromCivil({2026, 4, 29});
    st::OccurrenceChange change;
    change.start = st::MakeLocalTime(2026, 3, 12, 14);
    change.end = st::MakeLocalTime(2026, 3, 12, 15);
    change.subject = "Besprechung (verschoben)";
    Builder()
        .Appointment(calendar, "Besprechung", st::MakeLocalTime(2026, 3, 2, 9),
                     st::MakeLocalTime(2026, 3, 2, 10))
        .Recur(weekly)
        .DeleteOccurrence({2026, 3, 9})
        .ModifyOccurrence({2026, 3, 11}, change);

    auto master = LoggedOnSession()->GetDefaultFolder(olFolderCalendar)->GetItems()->Item(1);
    EXPECT_TRUE(master->IsRecurring());
    EXPECT_EQ(master->RecurrenceState(), 1);
    auto pattern = master->GetRecurrencePattern();
    EXPECT_EQ(pattern->RecurrenceType(), 1);
    EXPECT_EQ(pattern->DayOfWeekMask(), 10);
    EXPECT_EQ(pattern->Interval(), 1);
    EXPECT_EQ(pattern->Duration(), 60);
    EXPECT_EQ(pattern->PatternStartDate(), Local(2026, 3, 2));
    EXPECT_EQ(pattern->PatternEndDate(), Local(2026, 4, 29));
    EXPECT_FALSE(pattern->NoEndDate());
    EXPECT_EQ(rt::Hour(pattern->StartTime()), 9);
    EXPECT_EQ(rt::Hour(pattern->EndTime()), 10);

    auto plain = pattern->GetOccurrence(Local(2026, 3, 4, 17, 0)); // the time is not compared
    EXPECT_EQ(plain->RecurrenceState(), 2);
    EXPECT_EQ(plain->Start(), Local(2026, 3, 4, 9));
    EXPECT_EQ(plain->End(), Local(2026, 3, 4, 10));
    EXPECT_EQ(plain->Duration(), 60);
    EXPECT_EQ(plain->Subject(), "Besprechung");
    // Read by tag, an occurrence gives its own times (in UTC), as the report columns read them.
    const auto startTag = master->GetIDsFromNames(PSETID_Appointment, 0x820D) | PT_SYSTIME;
    const auto durationTag = master->GetIDsFromNames(PSETID_Appointment, 0x8213) | PT_LONG;
    EXPECT_EQ(plain->Fields(startTag), rt::Variant(Local(2026, 3, 4, 8)));
    EXPECT_EQ(master->Fields(startTag), rt::Variant(Local(2026, 3, 2, 8)));
    EXPECT_EQ(plain->Fields(durationTag), rt::Variant(60));
    // A moved occurrence is found at its original date, with its own times.
    auto moved = pattern->GetOccurrence(Local(2026, 3, 11));
    EXPECT_EQ(moved->RecurrenceState(), 3);
    EXPECT_EQ(moved->Start(), Local(2026, 3, 12, 14));
    EXPECT_EQ(moved->Subject(), "Besprechung (verschoben)");
    EXPECT_EQ(moved->Fields(startTag), rt::Variant(Local(2026, 3, 12, 13)));
    EXPECT_TRUE(RaisedNumber([&] { pattern->GetOccurrence(Local(2026, 3, 12)); }).has_value());
    EXPECT_TRUE(RaisedNumber([&] { pattern->GetOccurrence(Local(2026, 3, 9)); }).has_value());
    EXPECT_TRUE(RaisedNumber([&] { pattern->GetOccurrence(Local(2026, 3, 3)); }).has_value());
    EXPECT_TRUE(RaisedNumber([&] { pattern->GetOccurrence(Local(2026, 5, 4)); }).has_value());
    // Asked without raising, a day answers the same occurrence, or no object where
    // GetOccurrence raises (no occurrence day, deleted, moved away, after the end).
    const std::pair<rt::Date, long> days[] = {
        {Local(2026, 3, 4, 17, 0), 2}, {Local(2026, 3, 11), 3}, {Local(2026, 3, 12), 0},
        {Local(2026, 3, 9), 0},        {Local(2026, 3, 3), 0},  {Local(2026, 5, 4), 0}};
    for (const auto& [date, state] : days) {
        const auto found = pattern->TryGetOccurrence(date);
        EXPECT_EQ(found ? found->RecurrenceState() : 0, state) << date.Linear();
        EXPECT_EQ(RaisedNumber([&] { pattern->GetOccurrence(date); }).has_value(), state == 0);
        if (found) {
            EXPECT_EQ(found->Start(), pattern->GetOccurrence(date)->Start());
        }
    }
    // An occurrence gives the series' pattern again.
    EXPECT_EQ(plain->GetRecurrencePattern()->DayOfWeekMask(), 10);

    auto exceptions = pattern->Exceptions();
    ASSERT_EQ(exceptions->Count(), 2);
    EXPECT_TRUE(exceptions->Item(1)->Deleted());
    EXPECT_EQ(exceptions->Item(1)->OriginalDate(), Local(2026, 3, 9, 9));
    EXPECT_EQ(RaisedNumber([&] { exceptions->Item(1)->Item(); }), rt::errors::ObjectNotSet);
    EXPECT_FALSE(exceptions->Item(2)->Deleted());
    EXPECT_EQ(exceptions->Item(2)->Item()->Start(), Local(2026, 3, 12, 14));
    EXPECT_EQ(exceptions->Item(2)->Item()->RecurrenceState(), 3);
}

TEST_F(MessageTest, ModifiedOccurrencesTakeTheSeriesPropertiesTheyDoNotOverride)
{
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    const auto daily = Daily({2026, 3, 2}, 9 * 60, 60, 10);
    st::OccurrenceChange timesOnly;
    timesOnly.start = st::MakeLocalTime(2026, 3, 3, 15);
    timesOnly.end = st::MakeLocalTime(2026, 3, 3, 16);
    st::OccurrenceChange newSubject = timesOnly;
    newSubject.start = st::MakeLocalTime(2026, 3, 4, 15);
    newSubject.end = st::MakeLocalTime(2026, 3, 4, 16);
    newSubject.subject = "Visite (verlegt)";
    Builder()
        .Appointment(calendar, "Visite", st::MakeLocalTime(2026, 3, 2, 9),
                     st::MakeLocalTime(2026, 3, 2, 10))
        .Categories({"Büro", "Kunden"})
        .Location("Station 4")
        .Recur(daily)
        .ModifyOccurrence({2026, 3, 3}, timesOnly)
        .ModifyOccurrence({2026, 3, 4}, newSubject);

    auto master = LoggedOnSession()->GetDefaultFolder(olFolderCalendar)->GetItems()->Item(1);
    auto pattern = master->GetRecurrencePattern();
    struct Case
    {
        rt::Date original;
        rt::Date start;
        const char* subject;
    };
    const Case cases[] = {{Local(2026, 3, 3), Local(2026, 3, 3, 15), "Visite"},
                          {Local(2026, 3, 4), Local(2026, 3, 4, 15), "Visite (verlegt)"}};
    for (const auto& c : cases) {
        for (const auto& occurrence :
             {pattern->GetOccurrence(c.original),
              pattern->Exceptions()->Item(c.original == cases[0].original ? 1 : 2)->Item()}) {
            EXPECT_EQ(occurrence->RecurrenceState(), 3);
            EXPECT_EQ(occurrence->Start(), c.start);
            EXPECT_EQ(occurrence->Subject(), c.subject);
            EXPECT_EQ(occurrence->Fields(PR_SUBJECT), rt::Variant(std::string(c.subject)));
            EXPECT_EQ(occurrence->Categories(), "Büro; Kunden");
            EXPECT_EQ(occurrence->Location(), "Station 4");
            EXPECT_EQ(occurrence->GetRecurrencePattern()->Duration(), 60);
        }
        // Opened by its own item's entry id (as a report row opens it), it is the occurrence.
        const auto opened =
            LoggedOnSession()->GetMessageFromID(pattern->GetOccurrence(c.original)->EntryID());
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->Start(), c.start);
        EXPECT_EQ(opened->Subject(), c.subject);
        EXPECT_EQ(opened->Categories(), "Büro; Kunden");
        EXPECT_EQ(opened->Location(), "Station 4");
    }
}

TEST_F(MessageTest, OccurrencesKeepTheirDurationInEveryZone)
{
    // A Berlin series of 24 hours a day across the change to summer time on 29 March 2026:
    // the occurrence of 28 March lasts 23 real hours, and one moved onto that night 11 of the
    // 12 it has on the Berlin clock. Read anywhere, the plain one lasts the pattern's Duration
    // and the moved one its own, also by the duration property, whatever End minus Start
    // shows in the reader's zone.
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    const auto daily = Daily({2026, 3, 20}, 11 * 60, 24 * 60, 20);
    st::OccurrenceChange overnight;
    overnight.start = st::MakeLocalTime(2026, 3, 28, 20);
    overnight.end = st::MakeLocalTime(2026, 3, 29, 8);
    Builder()
        .Appointment(calendar, "Bereitschaft", st::MakeLocalTime(2026, 3, 20, 11),
                     st::MakeLocalTime(2026, 3, 21, 11))
        .Recur(daily)
        .ModifyOccurrence({2026, 3, 25}, overnight);
    struct BerlinAgain
    {
        ~BerlinAgain()
        {
            setenv("TZ", "Europe/Berlin", 1);
            tzset();
        }
    } berlinAgain;
    for (const char* tz : {"Europe/Berlin", "Pacific/Kiritimati", "America/New_York",
                           "Australia/Sydney", "Asia/Kolkata"}) {
        SCOPED_TRACE(tz);
        setenv("TZ", tz, 1);
        tzset();
        auto master = LoggedOnSession()->GetDefaultFolder(olFolderCalendar)->GetItems()->Item(1);
        const auto durationTag = master->GetIDsFromNames(PSETID_Appointment, 0x8213) | PT_LONG;
        auto pattern = master->GetRecurrencePattern();
        const auto plain = pattern->GetOccurrence(Local(2026, 3, 28));
        const auto moved = pattern->GetOccurrence(Local(2026, 3, 25));
        ASSERT_EQ(moved->RecurrenceState(), 3);
        EXPECT_EQ(plain->Duration(), 24 * 60);
        EXPECT_EQ(rt::CLng(plain->Fields(durationTag)), 24 * 60);
        EXPECT_EQ(moved->Duration(), 12 * 60);
        EXPECT_EQ(rt::CLng(moved->Fields(durationTag)), 12 * 60);
        EXPECT_EQ(pattern->Exceptions()->Item(1)->Item()->Duration(), 12 * 60);
        // An occurrence that spans no change lasts as long here as its End minus Start says.
        const auto before = pattern->GetOccurrence(Local(2026, 3, 22));
        EXPECT_EQ(before->Duration(), 24 * 60);
        EXPECT_NEAR((before->End().Linear() - before->Start().Linear()) * 1440.0, 24 * 60, 1e-6);
    }
}

TEST_F(MessageTest, KindFollowsTheClassWithoutCaseAndAfterChanges)
{
    struct Case
    {
        const char* messageClass;
        ItemKind kind;
        const char* typeName;
    };
    const Case cases[] = {
        {"IPM.Appointment", ItemKind::Appointment, "AppointmentItem"},
        {"ipm.APPOINTMENT.Besprechung", ItemKind::Appointment, "AppointmentItem"},
        {"IPM.AppointmentX", ItemKind::Mail, "MailItem"},
        {"IPM.Task", ItemKind::Task, "TaskItem"},
        {"Ipm.Activity", ItemKind::Journal, "JournalItem"},
        {"IPM.Contact", ItemKind::Contact, "ContactItem"},
        {"IPM.StickyNote", ItemKind::Note, "NoteItem"},
        {"IPM.Post", ItemKind::Post, "PostItem"},
        {"IPM.Note.Rules", ItemKind::Mail, "MailItem"},
        {"IPM", ItemKind::Mail, "MailItem"},
        {"IPMX", ItemKind::Other, "MailItem"},
        {"REPORT.IPM.Note.NDR", ItemKind::Other, "MailItem"},
    };
    const auto inbox = Folder(st::FolderRole::Inbox).entryId;
    for (const auto& c : cases)
        Builder().Item(inbox, c.messageClass);
    auto items = LoggedOnSession()->GetDefaultFolder(olFolderInbox)->GetItems();
    ASSERT_EQ(items->Count(), static_cast<long>(std::size(cases)));
    for (long i = 1; i <= items->Count(); ++i) {
        const auto message = items->Item(i);
        const auto* c = std::find_if(std::begin(cases), std::end(cases), [&](const Case& x) {
            return message->MessageClass() == x.messageClass;
        });
        ASSERT_NE(c, std::end(cases)) << message->MessageClass();
        SCOPED_TRACE(c->messageClass);
        EXPECT_EQ(message->Kind(), c->kind);
        EXPECT_EQ(message->Kind(), c->kind); // asked again: the same answer
        EXPECT_EQ(message->TypeName(), c->typeName);
    }

    // A class changed through the library changes what the same message object is.
    auto message = items->Item(1);
    message->SetFields(PR_MESSAGE_CLASS, rt::Variant(std::string("IPM.Task")));
    EXPECT_TRUE(message->IsTask());
    EXPECT_EQ(message->TypeName(), "TaskItem");
    message->SetFields(PR_MESSAGE_CLASS, rt::Variant(std::string("IPM.Appointment")));
    EXPECT_TRUE(message->IsAppointment());
    EXPECT_NO_THROW(message->Start());
    EXPECT_EQ(RaisedNumber([&] { message->DueDate(); }), rt::errors::NotSupported);

    // A new item answers the class it was given, also when it is changed before saving.
    auto draft = LoggedOnSession()->GetDefaultFolder(olFolderDrafts)->GetItems()->Add();
    EXPECT_TRUE(draft->IsMail());
    draft->SetFields(PR_MESSAGE_CLASS, rt::Variant(std::string("IPM.Activity")));
    EXPECT_TRUE(draft->IsJournal());
}

TEST_F(MessageTest, DisplayNeedsTheHostsItemWindow)
{
    auto mail = LoggedOnSession()->GetDefaultFolder(olFolderDrafts)->GetItems()->Add();
    mail->SetSubject("Anzeigen");
    EXPECT_EQ(RaisedNumber([&] { mail->Display(); }), rt::errors::NotSupported);
    std::string shown;
    SetDisplayHandler([&](const std::shared_ptr<Message>& m) { shown = m->Subject(); });
    mail->Display(false);
    SetDisplayHandler({});
    EXPECT_EQ(shown, "Anzeigen");
}

} // namespace platform::mapi::test
