#include "ReadFixture.h"

#include "engine/Filter.h"

#include "platform/store/RecurrencePattern.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace engine::test {

using ::testing::ElementsAreArray;

namespace {

/// A wall-clock time of the zone the profile is made in (Berlin).
struct Wall
{
    int year, month, day, hour = 0, minute = 0;
};

/// One item made in Berlin: a series, a single appointment, a task or a journal entry.
struct Item
{
    enum class Kind
    {
        Series,
        Single,
        Task,
        Journal
    } kind;
    const char* subject;
    Wall first;               ///< the item's start (a series': its first occurrence's)
    std::vector<Wall> starts; ///< a series' plain occurrences that may lie in the window
    int minutes;              ///< each one's length (a task: until it was completed)
    st::RecurrencePattern pattern = {};
    bool allDay = false;
    std::optional<Wall> moved = std::nullopt; ///< where a series' first occurrence was moved
};

/// The offsets from UTC, in seconds, of the three zones in one of the calendar's end years:
/// standard time in December 9999, the local mean times in January 100.
struct Offsets
{
    long berlin, newYork, tokyo;
};

struct Zone
{
    const char* tz;
    long Offsets::*offset;
};

const Zone kZones[] = {{"Europe/Berlin", &Offsets::berlin},
                       {"America/New_York", &Offsets::newYork},
                       {"Asia/Tokyo", &Offsets::tokyo}};

using Seconds = std::chrono::sys_seconds;

Seconds WallSeconds(const Wall& w)
{
    return Seconds{Civil(w.year, unsigned(w.month), unsigned(w.day))} + std::chrono::hours{w.hour} +
           std::chrono::minutes{w.minute};
}

// The calendar that dates can show: 1 January 100 to 31 December 9999 23:59:59.
Seconds First()
{
    return Seconds{Civil(100, 1, 1)};
}

Seconds Last()
{
    return Seconds{Civil(10000, 1, 1)} - std::chrono::seconds{1};
}

std::string TimeText(Seconds t)
{
    const auto day = std::chrono::floor<std::chrono::days>(t);
    const std::chrono::hh_mm_ss time{t - day};
    const std::chrono::year_month_day ymd{day};
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02u-%02u %02d:%02d", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()), int(time.hours().count()), int(time.minutes().count()));
    return s;
}

st::RecurrencePattern Pattern(st::RecurrenceType type, int interval, int mask, int dayOfMonth,
                              int monthOfYear, int instance, st::CivilDate first, int startMinute,
                              int minutes, int count = 0)
{
    st::RecurrencePattern p;
    p.type = type;
    p.interval = interval;
    p.dayOfWeekMask = mask;
    p.dayOfMonth = dayOfMonth;
    p.monthOfYear = monthOfYear;
    p.instance = instance;
    p.startMinute = startMinute;
    p.durationMinutes = minutes;
    p.patternStartDay = st::DayFromCivil(first);
    if (count > 0) {
        p.end = st::RecurrenceEnd::ByCount;
        p.occurrenceCount = count;
    }
    return p;
}

struct WindowCase
{
    const char* name;
    Wall from, to; ///< the window's first and last day, in the reader's zone
    Offsets offsets;
    std::vector<Item> items;
};

std::vector<WindowCase> Cases()
{
    using T = st::RecurrenceType;
    using K = Item::Kind;
    const int late = 22 * 60;
    const int noon = 12 * 60;
    const auto series = [](const char* subject, Wall first, std::vector<Wall> starts, int minutes,
                           st::RecurrencePattern p, std::optional<Wall> moved) {
        return Item{K::Series,          subject, first, std::move(starts), minutes, p,
                    minutes == 24 * 60, moved};
    };
    std::vector<WindowCase> cases;
    // Series that never end walk to the calendar's end; as the client's calendar for series
    // ends in 4500, their occurrences in 9999 are their first ones, moved there. At 22:00 in
    // Berlin an item is already in the year 10000 in Tokyo, and an all-day item on
    // 31 December ends in it everywhere.
    cases.push_back(
        {"to 31 December 9999",
         {9999, 12, 25},
         {9999, 12, 31},
         {3600, -5 * 3600, 9 * 3600},
         {
             series("daily", {4500, 1, 1, 22}, {}, 60,
                    Pattern(T::Daily, 1, 0, 0, 0, 0, {4500, 1, 1}, late, 60),
                    Wall{9999, 12, 31, 22}),
             series(
                 "weekly", {4500, 1, 1, 22}, {}, 60,
                 Pattern(T::Weekly, 1, st::kTuesday | st::kFriday, 0, 0, 0, {4500, 1, 1}, late, 60),
                 Wall{9999, 12, 30, 22}),
             series("monthly", {4500, 1, 31, 23}, {}, 120,
                    Pattern(T::Monthly, 1, 0, 31, 0, 0, {4500, 1, 31}, 23 * 60, 120),
                    Wall{9999, 12, 31, 23}),
             series("month-nth", {4500, 1, 29, 22}, {}, 60,
                    Pattern(T::MonthNth, 1, st::kFriday, 0, 0, 5, {4500, 1, 29}, late, 60),
                    Wall{9999, 12, 25, 0, 30}),
             series("yearly", {4500, 12, 31, 22}, {}, 60,
                    Pattern(T::Yearly, 12, 0, 31, 12, 0, {4500, 12, 31}, late, 60),
                    Wall{9999, 12, 28, 12}),
             series("year-nth", {4500, 12, 31, 22}, {}, 60,
                    Pattern(T::YearNth, 12, st::kFriday, 0, 12, 5, {4500, 12, 31}, late, 60),
                    Wall{9999, 12, 31, 12}),
             series("all-day daily", {4500, 1, 1}, {}, 24 * 60,
                    Pattern(T::Daily, 1, 0, 0, 0, 0, {4500, 1, 1}, 0, 24 * 60), Wall{9999, 12, 31}),
             {K::Single, "evening", {9999, 12, 31, 22}, {}, 60},
             {K::Single, "all day", {9999, 12, 31}, {}, 24 * 60, {}, true},
             {K::Single, "first night", {9999, 12, 25, 0, 30}, {}, 30},
             {K::Task, "task", {9999, 12, 31}, {}, 0},
             {K::Journal, "call", {9999, 12, 31, 22}, {}, 30},
             {K::Journal, "late call", {9999, 12, 31, 23, 30}, {}, 60},
         }});
    // Items on the calendar's first night and noon, and series in the first year a series may
    // start in (one of them moved to the calendar's first night), read from its first day.
    cases.push_back(
        {"from 1 January 100",
         {100, 1, 1},
         {1601, 1, 31},
         {3208, -17762, 33539},
         {
             {K::Single, "first night", {100, 1, 1, 0, 30}, {}, 60},
             {K::Single, "noon", {100, 1, 1, 12}, {}, 60},
             {K::Single, "all day", {100, 1, 1}, {}, 24 * 60, {}, true},
             {K::Task, "task", {100, 1, 1}, {}, 24 * 60},
             {K::Journal, "call", {100, 1, 1, 12}, {}, 30},
             series("daily", {1601, 1, 1, 12},
                    {{1601, 1, 11, 12}, {1601, 1, 21, 12}, {1601, 1, 31, 12}}, 60,
                    Pattern(T::Daily, 10, 0, 0, 0, 0, {1601, 1, 1}, noon, 60),
                    Wall{100, 1, 1, 0, 30}),
             series(
                 "weekly", {1601, 1, 1, 12},
                 {{1601, 1, 1, 12},
                  {1601, 1, 5, 12},
                  {1601, 1, 8, 12},
                  {1601, 1, 12, 12},
                  {1601, 1, 15, 12},
                  {1601, 1, 19, 12},
                  {1601, 1, 22, 12},
                  {1601, 1, 26, 12},
                  {1601, 1, 29, 12}},
                 60,
                 Pattern(T::Weekly, 1, st::kMonday | st::kFriday, 0, 0, 0, {1601, 1, 1}, noon, 60),
                 std::nullopt),
             series("monthly", {1601, 1, 1, 12}, {{1601, 1, 1, 12}}, 60,
                    Pattern(T::Monthly, 1, 0, 1, 0, 0, {1601, 1, 1}, noon, 60), std::nullopt),
             series("month-nth", {1601, 1, 1, 12}, {{1601, 1, 1, 12}}, 60,
                    Pattern(T::MonthNth, 1, st::kMonday, 0, 0, 1, {1601, 1, 1}, noon, 60),
                    std::nullopt),
             series("yearly", {1601, 1, 1, 12}, {{1601, 1, 1, 12}}, 60,
                    Pattern(T::Yearly, 12, 0, 1, 1, 0, {1601, 1, 1}, noon, 60), std::nullopt),
             series("year-nth", {1601, 1, 1, 12}, {{1601, 1, 1, 12}}, 60,
                    Pattern(T::YearNth, 12, st::kMonday, 0, 1, 1, {1601, 1, 1}, noon, 60),
                    std::nullopt),
             series("all-day daily", {1601, 1, 2}, {{1601, 1, 2}, {1601, 1, 3}, {1601, 1, 4}},
                    24 * 60, Pattern(T::Daily, 1, 0, 0, 0, 0, {1601, 1, 2}, 0, 24 * 60, 3),
                    std::nullopt),
         }});
    return cases;
}

class CalendarEndsTest : public ReadFixture
{
protected:
    void TearDown() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        ReadFixture::TearDown();
    }

    // Makes the item; answers its entry id.
    std::string Make(const Item& item)
    {
        const auto& w = item.first;
        const auto start = L(w.year, w.month, w.day, w.hour, w.minute);
        const st::LocalTime end{start.seconds + item.minutes * 60L};
        const auto utc = [](st::LocalTime t) { return st::PropValue{st::LocalToUtc(t)}; };
        switch (item.kind) {
        case Item::Kind::Series:
        case Item::Kind::Single: {
            auto b = B().Appointment(m_calendar.entryId, item.subject, start, end);
            b.AllDay(item.allDay);
            if (item.kind == Item::Kind::Series)
                b.Recur(item.pattern);
            if (item.moved) {
                const Wall& m = *item.moved;
                st::OccurrenceChange change;
                const auto movedStart = L(m.year, m.month, m.day, m.hour, m.minute);
                change.start = movedStart;
                change.end = st::LocalTime{movedStart.seconds + item.minutes * 60L};
                b.ModifyOccurrence({w.year, w.month, w.day}, change);
            }
            return b.EntryId();
        }
        case Item::Kind::Task:
            return B()
                .Task(m_tasks.entryId, item.subject)
                .SetLid(st::PSETID_Task, st::props::LID_TaskStartDate, utc(start))
                .SetLid(st::PSETID_Common, st::props::LID_CommonStart, utc(start))
                .SetLid(st::PSETID_Task, st::props::LID_TaskDateCompleted, utc(end))
                .EntryId();
        case Item::Kind::Journal:
            break;
        }
        return B()
            .JournalEntry(m_journal.entryId, item.subject, "Telefonanruf", start, item.minutes)
            .EntryId();
    }

    // "subject start..end" of every record of the three folders, sorted.
    std::vector<std::string> Read(trDateField eField, const Wall& from, const Wall& to)
    {
        if (Root().Records()->FieldCount() == 0) {
            SubjectColumn();
            Column("Start", 0, PT_SYSTIME, 3);
            Column("End", 0, PT_SYSTIME, 4);
        }
        Root().Records()->Filter()->SetTimeCondition(
            eField, trTimeBetween, rt::Variant(At(from.year, from.month, from.day)),
            rt::Variant(At(to.year, to.month, to.day)));
        FolderDataList list;
        for (const auto& f : {m_calendar, m_tasks, m_journal})
            list.Add(Entry(f));
        Root().ReadRecords(list);
        std::vector<std::string> rows;
        for (const auto& r : *Root().Records())
            rows.push_back(Text(r->Fields(rt::Variant("Subject"))->Value()) + " " +
                           Format(r->Fields(rt::Variant("Start"))->Value()) + ".." +
                           Format(r->Fields(rt::Variant("End"))->Value()));
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // What the read must give: each occurrence at its instant in the reader's zone when the
    // date field lies in the window; a start or end past the calendar shows as its end, but a
    // moved occurrence whose start no date can show is read by no window.
    static std::vector<std::string> Expected(const WindowCase& c, const Zone& zone,
                                             trDateField eField)
    {
        const std::chrono::seconds shift{c.offsets.*zone.offset - c.offsets.berlin};
        const Seconds windowStart = WallSeconds(c.from);
        const Seconds windowEnd = WallSeconds(c.to) + std::chrono::minutes{23 * 60 + 59};
        std::vector<std::string> rows;
        const auto add = [&](const Item& item, const Wall& w, bool bMoved) {
            const Seconds start = WallSeconds(w) + shift;
            const Seconds end = start + std::chrono::minutes{item.minutes};
            const Seconds field = eField == trStartDate ? start : end;
            if (field < windowStart || field > windowEnd)
                return;
            if (bMoved && (start < First() || start > Last()))
                return;
            rows.push_back(std::string(item.subject) + " " +
                           TimeText(std::clamp(start, First(), Last())) + ".." +
                           TimeText(std::clamp(end, First(), Last())));
        };
        for (const auto& item : c.items) {
            if (item.kind != Item::Kind::Series)
                add(item, item.first, false);
            for (const auto& w : item.starts)
                add(item, w, false);
            if (item.moved)
                add(item, *item.moved, true);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

} // namespace

TEST_F(CalendarEndsTest, WindowsAtTheCalendarsEndsReadEveryRecordInEveryZone)
{
    // A profile made in Berlin, read in Berlin, west of it (New York) and east of it (Tokyo)
    // by either date field, with windows that reach the calendar's last or first day.
    for (const auto& c : Cases()) {
        std::vector<std::string> made;
        for (const auto& item : c.items)
            made.push_back(Make(item));
        for (const auto& zone : kZones) {
            setenv("TZ", zone.tz, 1);
            tzset();
            for (const trDateField eField : {trStartDate, trEndDate}) {
                SCOPED_TRACE(std::string(c.name) + " in " + zone.tz +
                             (eField == trStartDate ? " by start" : " by end"));
                EXPECT_THAT(Read(eField, c.from, c.to),
                            ElementsAreArray(Expected(c, zone, eField)));
            }
        }
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        for (const auto& sEntryId : made)
            Store().DeleteItem(sEntryId);
    }
}

TEST_F(CalendarEndsTest, DefaultBoundsStopAtTheCalendarsEnds)
{
    // A window given by its start alone runs 90 days on, one given by its end alone starts
    // 90 days before: near the calendar's ends they stop there.
    B().Appointment(m_calendar.entryId, "evening", L(9999, 12, 31, 22), L(9999, 12, 31, 23));
    B().Appointment(m_calendar.entryId, "early", L(100, 1, 5, 12), L(100, 1, 5, 13));
    // Occurrences moved to the calendar's last evening and its first days: the walk compares
    // them with the window itself, so its default bound must be the last (first) day itself.
    const auto moved = [&](const char* subject, st::CivilDate first, Wall to) {
        st::OccurrenceChange change;
        change.start = L(to.year, to.month, to.day, to.hour, to.minute);
        change.end = st::LocalTime{change.start->seconds + 3600};
        B().Appointment(m_calendar.entryId, subject, L(first.year, first.month, first.day, 12),
                        L(first.year, first.month, first.day, 13))
            .Recur(Pattern(st::RecurrenceType::Daily, 1, 0, 0, 0, 0, first, 12 * 60, 60, 3))
            .ModifyOccurrence(first, change);
    };
    moved("moved late", {4500, 1, 1}, {9999, 12, 31, 22});
    moved("moved early", {1601, 1, 1}, {100, 1, 2, 12});
    SubjectColumn();
    const auto read = [&](trTimeFilter ePreset, rt::Date from, rt::Date to) {
        Root().Records()->Filter()->SetTimeCondition(trStartDate, ePreset, rt::Variant(from),
                                                     rt::Variant(to));
        return Subjects({m_calendar});
    };
    EXPECT_THAT(read(trTimeFromDate, At(9999, 12, 1), rt::Date()),
                ::testing::UnorderedElementsAre("evening", "moved late"));
    EXPECT_THAT(read(trTimeToDate, rt::Date(), At(100, 1, 10)),
                ::testing::UnorderedElementsAre("early", "moved early"));
}

TEST_F(CalendarEndsTest, ItemsMadeWestOfUtcOnTheCalendarsLastEveningAreRead)
{
    // In New York the last evening of 9999 is stored in the year 10000 (UTC): a window to
    // 31 December reads it by either date field.
    setenv("TZ", "America/New_York", 1);
    tzset();
    B().Appointment(m_calendar.entryId, "evening", L(9999, 12, 31, 20), L(9999, 12, 31, 21));
    B().Appointment(m_calendar.entryId, "morning", L(9999, 12, 31, 8), L(9999, 12, 31, 9));
    B().JournalEntry(m_journal.entryId, "call", "Telefonanruf", L(9999, 12, 31, 20), 30);
    for (const trDateField eField : {trStartDate, trEndDate}) {
        SCOPED_TRACE(eField == trStartDate ? "by start" : "by end");
        EXPECT_THAT(Read(eField, {9999, 12, 31}, {9999, 12, 31}),
                    ElementsAreArray({"call 9999-12-31 20:00..9999-12-31 20:30",
                                      "evening 9999-12-31 20:00..9999-12-31 21:00",
                                      "morning 9999-12-31 08:00..9999-12-31 09:00"}));
    }
    // A column of the date property itself reads it as local time too.
    Column(
        "LogStart", 0, PT_SYSTIME, 0,
        rt::Variant(static_cast<std::int16_t>(static_cast<std::uint16_t>(st::props::LID_LogStart))),
        mapi::PSETID_Log);
    Read(trStartDate, {9999, 12, 31}, {9999, 12, 31});
    std::vector<std::string> logStarts;
    for (const auto& r : *Root().Records())
        logStarts.push_back(Format(r->Fields(rt::Variant("LogStart"))->Value()));
    EXPECT_THAT(logStarts, ::testing::Contains("9999-12-31 20:00"));
}

TEST_F(CalendarEndsTest, ItemsBeyondTheCalendarInTheReadersZoneAreInNoWindow)
{
    // Made in Los Angeles on the calendar's last evening, an item lies in the year 10000 in
    // New York; made in Tokyo on its first morning, in the year 99 in Berlin. There the
    // window's open end (its bound in UTC lies beyond the calendar) lets the store give them,
    // but no window holds them: by either date field an item whose date field lies beyond the
    // calendar is not read. One whose start is inside and whose end is not is read by its
    // start, its end shown as the calendar's last second.
    const auto utc = [](st::LocalTime t) { return st::PropValue{st::LocalToUtc(t)}; };
    const auto task = [&](const char* subject, st::LocalTime start) {
        B().Task(m_tasks.entryId, subject)
            .SetLid(st::PSETID_Task, st::props::LID_TaskStartDate, utc(start))
            .SetLid(st::PSETID_Common, st::props::LID_CommonStart, utc(start))
            .SetLid(st::PSETID_Task, st::props::LID_TaskDateCompleted, utc(start));
    };
    setenv("TZ", "America/Los_Angeles", 1);
    tzset();
    B().Appointment(m_calendar.entryId, "beyond", L(9999, 12, 31, 22), L(9999, 12, 31, 23, 30));
    B().Appointment(m_calendar.entryId, "ends beyond", L(9999, 12, 31, 20),
                    L(9999, 12, 31, 21, 30));
    B().Appointment(m_calendar.entryId, "morning", L(9999, 12, 31, 8), L(9999, 12, 31, 9));
    B().JournalEntry(m_journal.entryId, "call beyond", "Telefonanruf", L(9999, 12, 31, 22), 30);
    B().JournalEntry(m_journal.entryId, "morning call", "Telefonanruf", L(9999, 12, 31, 8), 30);
    task("task", L(9999, 12, 31));
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    B().Appointment(m_calendar.entryId, "early", L(100, 1, 1, 1), L(100, 1, 1, 2));
    B().Appointment(m_calendar.entryId, "noon", L(100, 1, 1, 12), L(100, 1, 1, 13));
    B().JournalEntry(m_journal.entryId, "early call", "Telefonanruf", L(100, 1, 1, 1), 30);
    task("first task", L(100, 1, 1));
    task("second task", L(100, 1, 2));

    setenv("TZ", "America/New_York", 1);
    tzset();
    EXPECT_THAT(Read(trStartDate, {9999, 12, 25}, {9999, 12, 31}),
                ElementsAreArray({"ends beyond 9999-12-31 23:00..9999-12-31 23:59",
                                  "morning 9999-12-31 11:00..9999-12-31 12:00",
                                  "morning call 9999-12-31 11:00..9999-12-31 11:30",
                                  "task 9999-12-31 03:00..9999-12-31 03:00"}));
    EXPECT_THAT(Read(trEndDate, {9999, 12, 25}, {9999, 12, 31}),
                ElementsAreArray({"morning 9999-12-31 11:00..9999-12-31 12:00",
                                  "morning call 9999-12-31 11:00..9999-12-31 11:30",
                                  "task 9999-12-31 03:00..9999-12-31 03:00"}));
    // Tokyo kept its local mean time (+9:18:59) then, Berlin its own (+0:53:28).
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    for (const trDateField eField : {trStartDate, trEndDate}) {
        SCOPED_TRACE(eField == trStartDate ? "by start" : "by end");
        EXPECT_THAT(Read(eField, {100, 1, 1}, {100, 1, 10}),
                    ElementsAreArray({"noon 0100-01-01 03:34..0100-01-01 04:34",
                                      "second task 0100-01-01 15:34..0100-01-01 15:34"}));
    }
}

} // namespace engine::test
