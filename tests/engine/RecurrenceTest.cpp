#include "ReadFixture.h"

#include "engine/Filter.h"

#include "platform/runtime/Conversion.h"
#include "platform/store/RecurrencePattern.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <tuple>

namespace engine::test {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

struct Series
{
    st::RecurrenceType type;
    int interval;
    int mask;
    int dayOfMonth;
    int monthOfYear;
    int instance;
    st::CivilDate first; ///< the first occurrence's day, also the pattern start
    int hour;
    int minutes; ///< duration
    std::optional<st::CivilDate> last = std::nullopt;
    int minute = 0; ///< of the start time
    int count = 0;  ///< ended after this many occurrences (0: by `last` or never)
};

struct SeriesCase
{
    const char* name;
    Series series;
    std::vector<std::string> expected; ///< the starts read
};

/// What a test compares of a record read.
struct Row
{
    std::string entryId, subject, start, end, location, folder;
    long duration = 0;
    bool operator==(const Row&) const = default;
    friend void PrintTo(const Row& r, std::ostream* os)
    {
        *os << r.subject << " " << r.start << ".." << r.end << " (" << r.duration << ") "
            << r.location << " in " << r.folder << " " << r.entryId;
    }
};

class RecurrenceTest : public ReadFixture
{
protected:
    // The columns, added when the root is first used (so that tests may write settings first).
    void Columns()
    {
        if (Root().Records()->FieldCount() > 0)
            return;
        SubjectColumn();
        Column("Start", 0, PT_SYSTIME, 3);
        Column("End", 0, PT_SYSTIME, 4);
        Column("Duration", 0, PT_LONG, 5);
        Column("ClipStart", 0, PT_SYSTIME, 14);
    }

    st::ItemBuilder AddSeries(const Series& s, const std::string& sSubject = "Serie")
    {
        st::RecurrencePattern p;
        p.type = s.type;
        p.interval = s.interval;
        p.dayOfWeekMask = s.mask;
        p.dayOfMonth = s.dayOfMonth;
        p.monthOfYear = s.monthOfYear;
        p.instance = s.instance;
        p.startMinute = s.hour * 60 + s.minute;
        p.durationMinutes = s.minutes;
        p.patternStartDay = st::DayFromCivil(s.first);
        if (s.last) {
            p.end = st::RecurrenceEnd::ByDate;
            p.patternEndDay = st::DayFromCivil(*s.last);
        }
        if (s.count > 0) {
            p.end = st::RecurrenceEnd::ByCount;
            p.occurrenceCount = s.count;
        }
        const auto start = L(s.first.year, s.first.month, s.first.day, s.hour, s.minute);
        const st::LocalTime end{start.seconds + s.minutes * 60};
        auto item = B().Appointment(m_calendar.entryId, sSubject, start, end);
        item.Recur(p);
        return item;
    }

    // Reads each series alone, with a window on a date field, and compares its starts.
    void ExpectEachSeries(const std::vector<SeriesCase>& cases, trDateField eField, rt::Date from,
                          rt::Date to)
    {
        for (const auto& c : cases) {
            const auto item = AddSeries(c.series);
            EXPECT_THAT(Starts(eField, trTimeBetween, from, to), ElementsAreArray(c.expected))
                << c.name;
            Store().DeleteItem(item.EntryId());
        }
    }

    // Reads the calendar with a window on a date field; answers the starts as text.
    std::vector<std::string> Starts(trDateField eField, trTimeFilter ePreset, rt::Date from,
                                    rt::Date to)
    {
        Columns();
        Root().Records()->Filter()->SetTimeCondition(eField, ePreset, rt::Variant(from),
                                                     rt::Variant(to));
        return Starts();
    }

    std::vector<std::string> Starts()
    {
        Columns();
        FolderDataList list;
        list.Add(Entry(m_calendar));
        Root().ReadRecords(list);
        std::vector<std::string> starts;
        for (const auto& oRecord : *Root().Records())
            starts.push_back(Format(oRecord->Fields(rt::Variant("Start"))->Value()));
        return starts;
    }

    // Reads the calendar and answers the starts of the records by subject.
    std::map<std::string, std::vector<std::string>> StartsBySubject()
    {
        Columns();
        FolderDataList list;
        list.Add(Entry(m_calendar));
        Root().ReadRecords(list);
        std::map<std::string, std::vector<std::string>> starts;
        for (const auto& oRecord : *Root().Records())
            starts[Text(oRecord->Fields(rt::Variant("Subject"))->Value())].push_back(
                Format(oRecord->Fields(rt::Variant("Start"))->Value()));
        return starts;
    }
};

} // namespace

TEST_F(RecurrenceTest, OccurrencesOfEveryPatternType)
{
    using T = st::RecurrenceType;
    const struct
    {
        const char* name;
        Series series;
        rt::Date from;
        rt::Date to;
        std::vector<std::string> expected;
    } cases[] = {
        {"daily every 2 days",
         {T::Daily, 2, 0, 0, 0, 0, {2024, 3, 1}, 9, 60},
         At(2024, 3, 1),
         At(2024, 3, 10),
         {"2024-03-01 09:00", "2024-03-03 09:00", "2024-03-05 09:00", "2024-03-07 09:00",
          "2024-03-09 09:00"}},
        {"weekly Monday and Wednesday from a Wednesday",
         {T::Weekly, 1, st::kMonday | st::kWednesday, 0, 0, 0, {2024, 5, 15}, 8, 30},
         At(2024, 5, 13),
         At(2024, 5, 26),
         {"2024-05-15 08:00", "2024-05-20 08:00", "2024-05-22 08:00"}},
        {"every other week Tuesday and Thursday",
         {T::Weekly, 2, st::kTuesday | st::kThursday, 0, 0, 0, {2024, 5, 7}, 14, 60},
         At(2024, 5, 1),
         At(2024, 5, 31),
         {"2024-05-07 14:00", "2024-05-09 14:00", "2024-05-21 14:00", "2024-05-23 14:00"}},
        {"monthly on day 31",
         {T::Monthly, 1, 0, 31, 0, 0, {2024, 1, 31}, 10, 60},
         At(2024, 1, 1),
         At(2024, 5, 31),
         {"2024-01-31 10:00", "2024-02-29 10:00", "2024-03-31 10:00", "2024-04-30 10:00",
          "2024-05-31 10:00"}},
        {"month-nth last Friday",
         {T::MonthNth, 1, st::kFriday, 0, 0, 5, {2024, 1, 26}, 16, 60},
         At(2024, 1, 1),
         At(2024, 4, 30),
         {"2024-01-26 16:00", "2024-02-23 16:00", "2024-03-29 16:00", "2024-04-26 16:00"}},
        {"month-nth second weekday",
         {T::MonthNth, 1, 62, 0, 0, 2, {2024, 1, 2}, 9, 15},
         At(2024, 1, 1),
         At(2024, 3, 31),
         {"2024-01-02 09:00", "2024-02-02 09:00", "2024-03-04 09:00"}},
        {"yearly on 29 February",
         {T::Yearly, 12, 0, 29, 2, 0, {2024, 2, 29}, 12, 60},
         At(2024, 1, 1),
         At(2028, 12, 31),
         {"2024-02-29 12:00", "2025-02-28 12:00", "2026-02-28 12:00", "2027-02-28 12:00",
          "2028-02-29 12:00"}},
        {"year-nth second Sunday of May",
         {T::YearNth, 12, st::kSunday, 0, 5, 2, {2024, 5, 12}, 11, 120},
         At(2024, 1, 1),
         At(2026, 12, 31),
         {"2024-05-12 11:00", "2025-05-11 11:00", "2026-05-10 11:00"}},
        {"pattern ended before the window",
         {T::Daily, 1, 0, 0, 0, 0, {2024, 1, 1}, 9, 60, st::CivilDate{2024, 1, 10}},
         At(2024, 5, 1),
         At(2024, 5, 31),
         {}},
        {"pattern ends inside the window",
         {T::Daily, 1, 0, 0, 0, 0, {2024, 5, 1}, 9, 60, st::CivilDate{2024, 5, 3}},
         At(2024, 5, 2),
         At(2024, 5, 31),
         {"2024-05-02 09:00", "2024-05-03 09:00"}},
    };
    for (const auto& c : cases) {
        const auto item = AddSeries(c.series);
        EXPECT_THAT(Starts(trStartDate, trTimeBetween, c.from, c.to), ElementsAreArray(c.expected))
            << c.name;
        Store().DeleteItem(item.EntryId());
    }
}

TEST_F(RecurrenceTest, OldSeriesGiveTheSameOccurrencesAsNewOnes)
{
    using T = st::RecurrenceType;
    const std::vector<SeriesCase> cases = {
        {"daily since 1990",
         {T::Daily, 1, 0, 0, 0, 0, {1990, 1, 1}, 9, 60},
         {"2024-05-13 09:00", "2024-05-14 09:00", "2024-05-15 09:00", "2024-05-16 09:00",
          "2024-05-17 09:00", "2024-05-18 09:00", "2024-05-19 09:00"}},
        {"weekly Friday since 1995",
         {T::Weekly, 1, st::kFriday, 0, 0, 0, {1995, 1, 6}, 9, 60},
         {"2024-05-17 09:00"}},
        {"every third week since 2001",
         {T::Weekly, 3, st::kMonday, 0, 0, 0, {2001, 1, 8}, 9, 60},
         {"2024-05-13 09:00"}},
        {"monthly day 15 since 1990",
         {T::Monthly, 1, 0, 15, 0, 0, {1990, 1, 15}, 9, 60},
         {"2024-05-15 09:00"}},
        {"month-nth second Monday since 1990",
         {T::MonthNth, 1, st::kMonday, 0, 0, 2, {1990, 1, 8}, 9, 60},
         {"2024-05-13 09:00"}},
    };
    ExpectEachSeries(cases, trStartDate, At(2024, 5, 13), At(2024, 5, 19));
}

TEST_F(RecurrenceTest, OldSeriesByEndKeepOccurrencesStraddlingTheWindowStart)
{
    // Window 1 to 7 May 2024 (Wednesday to Tuesday) on the end date: an occurrence that began
    // days before the window and ends inside it is in, however old its series.
    using T = st::RecurrenceType;
    const std::vector<SeriesCase> cases = {
        {"daily since 1990, three days long",
         {T::Daily, 1, 0, 0, 0, 0, {1990, 1, 1}, 10, 3 * 24 * 60},
         {"2024-04-28 10:00", "2024-04-29 10:00", "2024-04-30 10:00", "2024-05-01 10:00",
          "2024-05-02 10:00", "2024-05-03 10:00", "2024-05-04 10:00"}},
        {"all-day daily since 1990",
         {T::Daily, 1, 0, 0, 0, 0, {1990, 1, 1}, 0, 24 * 60},
         {"2024-04-30 00:00", "2024-05-01 00:00", "2024-05-02 00:00", "2024-05-03 00:00",
          "2024-05-04 00:00", "2024-05-05 00:00", "2024-05-06 00:00"}},
        {"every other Monday since 2001, nine days long",
         {T::Weekly, 2, st::kMonday, 0, 0, 0, {2001, 1, 15}, 10, 9 * 24 * 60},
         {"2024-04-22 10:00"}},
        {"monthly on the 28th since 1990, five days long",
         {T::Monthly, 1, 0, 28, 0, 0, {1990, 1, 28}, 10, 5 * 24 * 60},
         {"2024-04-28 10:00"}},
        {"last Sunday of the month since 1990, four days long",
         {T::MonthNth, 1, st::kSunday, 0, 0, 5, {1990, 1, 28}, 10, 4 * 24 * 60},
         {"2024-04-28 10:00"}},
        // Longer than the months between them: an occurrence from January ends in May.
        {"monthly on the 28th since 1990, 100 days long",
         {T::Monthly, 1, 0, 28, 0, 0, {1990, 1, 28}, 10, 100 * 24 * 60},
         {"2024-01-28 10:00"}},
        {"last Sunday of the month since 1990, 100 days long",
         {T::MonthNth, 1, st::kSunday, 0, 0, 5, {1990, 1, 28}, 10, 100 * 24 * 60},
         {"2024-01-28 10:00"}},
        {"yearly on 1 March since 1990, 430 days long",
         {T::Yearly, 12, 0, 1, 3, 0, {1990, 3, 1}, 10, 430 * 24 * 60},
         {"2023-03-01 10:00"}},
    };
    ExpectEachSeries(cases, trEndDate, At(2024, 5, 1), At(2024, 5, 7));
}

TEST_F(RecurrenceTest, WeeklyCountEndsOnTheEdgeOfTheFirstWeek)
{
    // The count equals the selected days of the first week (Sunday to Saturday) from the first
    // occurrence on, or passes it by one. A fault here can also make the walk endless: the
    // test runner's time-out guards this test.
    using T = st::RecurrenceType;
    const auto weekly = [](int interval, int mask, st::CivilDate first, int count) {
        return Series{T::Weekly, interval, mask, 0, 0, 0, first, 9, 60, std::nullopt, 0, count};
    };
    const std::vector<SeriesCase> cases = {
        {"Wednesday, one", weekly(1, st::kWednesday, {2024, 5, 15}, 1), {"2024-05-15 09:00"}},
        {"Mon Wed Fri from a Wednesday, two",
         weekly(1, st::kMonday | st::kWednesday | st::kFriday, {2024, 5, 15}, 2),
         {"2024-05-15 09:00", "2024-05-17 09:00"}},
        {"Mon Wed Sat from a Monday, three",
         weekly(1, st::kMonday | st::kWednesday | st::kSaturday, {2024, 5, 13}, 3),
         {"2024-05-13 09:00", "2024-05-15 09:00", "2024-05-18 09:00"}},
        {"Sun Tue from a Sunday, two",
         weekly(1, st::kSunday | st::kTuesday, {2024, 5, 12}, 2),
         {"2024-05-12 09:00", "2024-05-14 09:00"}},
        {"Sat Sun every 3 weeks from a Saturday, two",
         weekly(3, st::kSaturday | st::kSunday, {2024, 5, 18}, 2),
         {"2024-05-18 09:00", "2024-06-02 09:00"}},
    };
    ExpectEachSeries(cases, trStartDate, At(2024, 5, 1), At(2024, 6, 30));
}

TEST_F(RecurrenceTest, MovedDeletedAndOutOfWindowExceptions)
{
    st::OccurrenceChange movedInside;
    movedInside.start = L(2024, 5, 21, 14);
    movedInside.end = L(2024, 5, 21, 15);
    st::OccurrenceChange movedOut;
    movedOut.start = L(2024, 6, 10, 9);
    movedOut.end = L(2024, 6, 10, 10);
    st::OccurrenceChange movedIn;
    movedIn.start = L(2024, 5, 24, 9);
    movedIn.end = L(2024, 5, 24, 10);
    AddSeries({st::RecurrenceType::Weekly, 1, st::kMonday, 0, 0, 0, {2024, 5, 6}, 9, 60})
        .DeleteOccurrence({2024, 5, 13})
        .ModifyOccurrence({2024, 5, 20}, movedInside)
        .ModifyOccurrence({2024, 5, 27}, movedOut)
        .ModifyOccurrence({2024, 6, 3}, movedIn);
    EXPECT_THAT(Starts(trStartDate, trTimeBetween, At(2024, 5, 6), At(2024, 5, 31)),
                ElementsAre("2024-05-06 09:00", "2024-05-21 14:00", "2024-05-24 09:00"));
}

TEST_F(RecurrenceTest, OccurrencesMovedAcrossTheSeriesEdgesAreRead)
{
    // Moved after the pattern's last day; and moved into the window from a series whose first
    // occurrence lies after it. Each is read by the date field that the window tests.
    st::OccurrenceChange pastTheEnd;
    pastTheEnd.start = L(2024, 5, 29, 9);
    pastTheEnd.end = L(2024, 5, 29, 10);
    AddSeries({st::RecurrenceType::Daily,
               1,
               0,
               0,
               0,
               0,
               {2024, 5, 20},
               9,
               60,
               st::CivilDate{2024, 5, 24}},
              "Endet")
        .ModifyOccurrence({2024, 5, 24}, pastTheEnd);
    st::OccurrenceChange intoTheWindow;
    intoTheWindow.start = L(2024, 5, 30, 23);
    intoTheWindow.end = L(2024, 6, 1, 8);
    AddSeries({st::RecurrenceType::Weekly, 1, st::kMonday, 0, 0, 0, {2024, 6, 10}, 9, 60},
              "Beginnt")
        .ModifyOccurrence({2024, 6, 10}, intoTheWindow);
    struct Case
    {
        trDateField field;
        rt::Date from;
        rt::Date to;
        std::vector<std::string> starts;
    };
    const Case cases[] = {
        {trStartDate, At(2024, 5, 27), At(2024, 5, 31), {"2024-05-29 09:00", "2024-05-30 23:00"}},
        {trEndDate, At(2024, 6, 1), At(2024, 6, 2), {"2024-05-30 23:00"}},
        {trStartDate, At(2024, 6, 1), At(2024, 6, 2), {}},
    };
    for (const auto& c : cases)
        EXPECT_THAT(Starts(c.field, trTimeBetween, c.from, c.to), ElementsAreArray(c.starts))
            << Format(rt::Variant(c.from)) << " " << c.field;
}

TEST_F(RecurrenceTest, MovedOccurrenceRecordsShowTheSeriesProperties)
{
    st::OccurrenceChange moved;
    moved.start = L(2024, 5, 21, 14);
    moved.end = L(2024, 5, 21, 15);
    AddSeries({st::RecurrenceType::Weekly, 1, st::kMonday, 0, 0, 0, {2024, 5, 6}, 9, 60},
              "Jour fixe")
        .Location("Raum 1")
        .ModifyOccurrence({2024, 5, 20}, moved);
    Columns();
    Column("Location", 0, PT_STRING8, 0,
           rt::Variant(static_cast<std::int16_t>(static_cast<std::uint16_t>(0x8208))),
           mapi::PSETID_Appointment);
    Root().Records()->Filter()->SetTimeCondition(
        trStartDate, trTimeBetween, rt::Variant(At(2024, 5, 20)), rt::Variant(At(2024, 5, 21)));
    FolderDataList list;
    list.Add(Entry(m_calendar));
    Root().ReadRecords(list);
    ASSERT_EQ(Root().Records()->Count(), 1);
    const auto r = Root().Records()->Item(1);
    EXPECT_EQ(r->Fields(rt::Variant("Start"))->Value(), rt::Variant(At(2024, 5, 21, 14)));
    EXPECT_EQ(r->Fields(rt::Variant("Subject"))->Value(), rt::Variant(std::string("Jour fixe")));
    EXPECT_EQ(r->Fields(rt::Variant("Location"))->Value(), rt::Variant(std::string("Raum 1")));
}

TEST_F(RecurrenceTest, EndDateFieldKeepsOccurrencesEndingInTheWindow)
{
    AddSeries({st::RecurrenceType::Daily, 1, 0, 0, 0, 0, {2024, 5, 1}, 23, 120});
    EXPECT_THAT(Starts(trEndDate, trTimeBetween, At(2024, 5, 5), At(2024, 5, 6)),
                ElementsAre("2024-05-04 23:00", "2024-05-05 23:00"));
    EXPECT_THAT(Starts(trStartDate, trTimeBetween, At(2024, 5, 5), At(2024, 5, 6)),
                ElementsAre("2024-05-05 23:00", "2024-05-06 23:00"));
}

TEST_F(RecurrenceTest, WalksEndOnADateFieldWithoutOccurrenceDates)
{
    // A due-date field without a window reads calendars; no occurrence date compares with it,
    // so only the window's end can stop the walk of a series that never ends.
    AddSeries({st::RecurrenceType::Daily, 1, 0, 0, 0, 0, {2024, 5, 1}, 9, 60});
    AddSeries({st::RecurrenceType::MonthNth, 1, st::kFriday, 0, 0, 5, {2024, 1, 26}, 9, 60});
    Columns();
    Root().Records()->Filter()->SetTimeCondition(trDueDate, trTimeNone);
    EXPECT_THAT(Starts(), IsEmpty());
}

TEST_F(RecurrenceTest, SeriesReadInAnotherZoneKeepTheirInstants)
{
    // Series made in Berlin, read for the first quarter of 2027 where each zone's reader
    // lives. Each occurrence lies at its pattern's Berlin time (a moved one at its own, read
    // after the others) and is shown at that instant in the reader's zone; the window holds
    // the reader's dates.
    // Berlin changes to summer time on 28 March, Los Angeles on 14 March; Tokyo and Kiritimati
    // keep theirs.
    using T = st::RecurrenceType;
    st::OccurrenceChange nextMorning, lastNight;
    nextMorning.start = L(2027, 2, 2, 10);
    nextMorning.end = L(2027, 2, 2, 11);
    lastNight.start = L(2027, 3, 31, 23, 30); // 1 April in Tokyo and Kiritimati
    lastNight.end = L(2027, 3, 31, 23, 45);
    AddSeries({T::Weekly, 2, st::kMonday, 0, 0, 0, {2026, 12, 21}, 9, 60}, "every other Monday")
        .DeleteOccurrence({2027, 1, 18})
        .ModifyOccurrence({2027, 2, 1}, nextMorning)
        .ModifyOccurrence({2027, 3, 29}, lastNight);
    AddSeries({T::Monthly, 1, 0, 15, 0, 0, {2026, 11, 15}, 20, 90}, "monthly evening");
    AddSeries({T::Daily, 1, 0, 0, 0, 0, {2027, 3, 26}, 23, 30, std::nullopt, 30, 3},
              "three late days");
    AddSeries({T::Yearly, 12, 0, 31, 12, 0, {2020, 12, 31}, 18, 60}, "new year's eve");
    using Starts = std::map<std::string, std::vector<std::string>>;
    const struct
    {
        const char* tz;
        Starts starts;
    } cases[] = {
        {"Europe/Berlin",
         {{"every other Monday",
           {"2027-01-04 09:00", "2027-02-15 09:00", "2027-03-01 09:00", "2027-03-15 09:00",
            "2027-02-02 10:00", "2027-03-31 23:30"}},
          {"monthly evening", {"2027-01-15 20:00", "2027-02-15 20:00", "2027-03-15 20:00"}},
          {"three late days", {"2027-03-26 23:30", "2027-03-27 23:30", "2027-03-28 23:30"}}}},
        {"Asia/Tokyo",
         {{"every other Monday",
           {"2027-01-04 17:00", "2027-02-15 17:00", "2027-03-01 17:00", "2027-03-15 17:00",
            "2027-02-02 18:00"}},
          {"monthly evening", {"2027-01-16 04:00", "2027-02-16 04:00", "2027-03-16 04:00"}},
          {"three late days", {"2027-03-27 07:30", "2027-03-28 07:30", "2027-03-29 06:30"}},
          {"new year's eve", {"2027-01-01 02:00"}}}},
        {"Pacific/Kiritimati",
         {{"every other Monday",
           {"2027-01-04 22:00", "2027-02-15 22:00", "2027-03-01 22:00", "2027-03-15 22:00",
            "2027-02-02 23:00"}},
          {"monthly evening", {"2027-01-16 09:00", "2027-02-16 09:00", "2027-03-16 09:00"}},
          {"three late days", {"2027-03-27 12:30", "2027-03-28 12:30", "2027-03-29 11:30"}},
          {"new year's eve", {"2027-01-01 07:00"}}}},
        {"America/Los_Angeles",
         {{"every other Monday",
           {"2027-01-04 00:00", "2027-02-15 00:00", "2027-03-01 00:00", "2027-03-15 01:00",
            "2027-02-02 01:00", "2027-03-31 14:30"}},
          {"monthly evening", {"2027-01-15 11:00", "2027-02-15 11:00", "2027-03-15 12:00"}},
          {"three late days", {"2027-03-26 15:30", "2027-03-27 15:30", "2027-03-28 14:30"}}}},
    };
    struct BerlinAgain
    {
        ~BerlinAgain()
        {
            setenv("TZ", "Europe/Berlin", 1);
            tzset();
        }
    } berlinAgain;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tz);
        setenv("TZ", c.tz, 1);
        tzset();
        Columns();
        Root().Records()->Filter()->SetTimeCondition(
            trStartDate, trTimeBetween, rt::Variant(At(2027, 1, 1)), rt::Variant(At(2027, 3, 31)));
        EXPECT_EQ(StartsBySubject(), c.starts);
    }
}

TEST_F(RecurrenceTest, SeriesWhoseStoreRecordsNoZoneStandOnTheReadersClock)
{
    // Series made in Berlin whose store records no zone (a file written before the zone was
    // kept), and one made in a zone the zone data does not know: every occurrence lies at
    // its pattern's wall-clock time in the reader's zone, also where the master's start lies
    // on another day there (late evenings east of Berlin, early mornings west of it).
    using T = st::RecurrenceType;
    AddSeries({T::Weekly, 2, st::kSaturday, 0, 0, 0, {2027, 1, 2}, 20, 120},
              "fortnightly Saturday evening");
    AddSeries({T::Weekly, 3, st::kMonday | st::kThursday, 0, 0, 0, {2026, 12, 28}, 21, 60},
              "Monday and Thursday every third week");
    AddSeries({T::Daily, 1, 0, 0, 0, 0, {2027, 1, 4}, 7, 30, st::CivilDate{2027, 1, 8}, 30},
              "five early days");
    AddSeries({T::Monthly, 1, 0, 15, 0, 0, {2026, 11, 15}, 22, 60}, "monthly 15th night");
    AddSeries({T::MonthNth, 1, st::kFriday, 0, 0, 5, {2026, 12, 25}, 23, 60}, "last Friday late");
    AddSeries({T::Yearly, 12, 0, 31, 1, 0, {2020, 1, 31}, 0, 60, std::nullopt, 30},
              "31 January just after midnight");
    AddSeries({T::YearNth, 12, st::kMonday, 0, 2, 1, {2025, 2, 3}, 5, 60},
              "first Monday of February");
    AddSeries({T::Monthly, 1, 0, 1, 0, 0, {2026, 12, 1}, 3, 60}, "monthly 1st early");
    ExecOnStore("UPDATE recurrence SET time_zone = NULL");
    st::RecurrencePattern p;
    p.type = T::Monthly;
    p.interval = 2;
    p.dayOfMonth = 31;
    p.startMinute = 23 * 60 + 30;
    p.durationMinutes = 45;
    p.patternStartDay = st::DayFromCivil({2026, 12, 31});
    p.timeZone = "Mars/Olympus_Mons";
    B().Appointment(m_calendar.entryId, "every other month's last day, on Mars",
                    L(2026, 12, 31, 23, 30), L(2027, 1, 1, 0, 15))
        .Recur(p);
    const std::map<std::string, std::vector<std::string>> expected = {
        {"fortnightly Saturday evening",
         {"2027-01-02 20:00", "2027-01-16 20:00", "2027-01-30 20:00", "2027-02-13 20:00",
          "2027-02-27 20:00"}},
        {"Monday and Thursday every third week",
         {"2027-01-18 21:00", "2027-01-21 21:00", "2027-02-08 21:00", "2027-02-11 21:00"}},
        {"five early days",
         {"2027-01-04 07:30", "2027-01-05 07:30", "2027-01-06 07:30", "2027-01-07 07:30",
          "2027-01-08 07:30"}},
        {"monthly 15th night", {"2027-01-15 22:00", "2027-02-15 22:00"}},
        {"last Friday late", {"2027-01-29 23:00", "2027-02-26 23:00"}},
        {"31 January just after midnight", {"2027-01-31 00:30"}},
        {"first Monday of February", {"2027-02-01 05:00"}},
        {"monthly 1st early", {"2027-01-01 03:00", "2027-02-01 03:00"}},
        {"every other month's last day, on Mars", {"2027-02-28 23:30"}},
    };
    struct BerlinAgain
    {
        ~BerlinAgain()
        {
            setenv("TZ", "Europe/Berlin", 1);
            tzset();
        }
    } berlinAgain;
    for (const char* tz :
         {"Europe/Berlin", "Asia/Tokyo", "America/New_York", "Pacific/Kiritimati"}) {
        SCOPED_TRACE(tz);
        setenv("TZ", tz, 1);
        tzset();
        Columns();
        Root().Records()->Filter()->SetTimeCondition(
            trStartDate, trTimeBetween, rt::Variant(At(2027, 1, 1)), rt::Variant(At(2027, 2, 28)));
        EXPECT_EQ(StartsBySubject(), expected);
    }
}

TEST_F(RecurrenceTest, EndDateWindowsTakeTheEndAnOccurrenceShowsInAnotherZone)
{
    // An occurrence lasts its Duration on the clock of the zone its series was made in. Read
    // in another zone across a change of either zone's offset, it ends, as shown, an hour
    // before or after its local start plus Duration: a window on the end date takes it by the
    // End it shows. Berlin changes to summer time on 29 March 2026; New York and Los Angeles
    // back to winter time on 1 November, at 06:00 and 09:00 UTC.
    using T = st::RecurrenceType;
    Series berlinDaily{T::Daily, 1, 0, 0, 0, 0, {2026, 3, 20}, 11, 24 * 60};
    berlinDaily.count = 20;
    Series newYorkSaturdays{T::Weekly, 1, st::kSaturday, 0, 0, 0, {2026, 10, 3}, 22, 4 * 60};
    newYorkSaturdays.minute = 45;
    newYorkSaturdays.count = 8;
    const struct
    {
        const char* maker;
        const char* reader;
        Series series;
        rt::Date from;
        rt::Date to;
        std::vector<std::string> rows; ///< "start..end"
    } cases[] = {
        {"Europe/Berlin",
         "Pacific/Kiritimati",
         berlinDaily,
         At(2026, 3, 23),
         At(2026, 3, 29),
         {"2026-03-22 00:00..2026-03-23 00:00", "2026-03-23 00:00..2026-03-24 00:00",
          "2026-03-24 00:00..2026-03-25 00:00", "2026-03-25 00:00..2026-03-26 00:00",
          "2026-03-26 00:00..2026-03-27 00:00", "2026-03-27 00:00..2026-03-28 00:00",
          "2026-03-28 00:00..2026-03-29 00:00", "2026-03-29 00:00..2026-03-29 23:00"}},
        {"Europe/Berlin",
         "Pacific/Kiritimati",
         berlinDaily,
         At(2026, 3, 30),
         At(2026, 4, 5),
         {"2026-03-29 23:00..2026-03-30 23:00", "2026-03-30 23:00..2026-03-31 23:00",
          "2026-03-31 23:00..2026-04-01 23:00", "2026-04-01 23:00..2026-04-02 23:00",
          "2026-04-02 23:00..2026-04-03 23:00", "2026-04-03 23:00..2026-04-04 23:00",
          "2026-04-04 23:00..2026-04-05 23:00"}},
        {"America/New_York",
         "America/Los_Angeles",
         newYorkSaturdays,
         At(2026, 10, 25),
         At(2026, 10, 31),
         {}},
        {"America/New_York",
         "America/Los_Angeles",
         newYorkSaturdays,
         At(2026, 11, 1),
         At(2026, 11, 14),
         {"2026-10-31 19:45..2026-11-01 00:45", "2026-11-07 19:45..2026-11-07 23:45",
          "2026-11-14 19:45..2026-11-14 23:45"}},
    };
    struct BerlinAgain
    {
        ~BerlinAgain()
        {
            setenv("TZ", "Europe/Berlin", 1);
            tzset();
        }
    } berlinAgain;
    Columns();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.maker) + " read in " + c.reader + " by end from " +
                     Format(rt::Variant(c.from)));
        setenv("TZ", c.maker, 1);
        tzset();
        const auto item = AddSeries(c.series);
        setenv("TZ", c.reader, 1);
        tzset();
        Root().Records()->Filter()->SetTimeCondition(trEndDate, trTimeBetween, rt::Variant(c.from),
                                                     rt::Variant(c.to));
        FolderDataList list;
        list.Add(Entry(m_calendar));
        Root().ReadRecords(list);
        std::vector<std::string> rows;
        for (const auto& r : *Root().Records())
            rows.push_back(Format(r->Fields(rt::Variant("Start"))->Value()) + ".." +
                           Format(r->Fields(rt::Variant("End"))->Value()));
        EXPECT_THAT(rows, ElementsAreArray(c.rows));
        Store().DeleteItem(item.EntryId());
    }
}

TEST_F(RecurrenceTest, ATimeTheSeriesZoneSkipsShowsAsItsInstantInThatZoneToo)
{
    // Daily at 02:15 for 30 minutes in Berlin, where 29 March 2026 has no 02:15: that
    // occurrence lies at 01:15 UTC (read with the winter offset), which Berlin shows as 03:15
    // and Tokyo as 10:15; its Duration stays the pattern's. Expected by Python's zoneinfo.
    Series daily{st::RecurrenceType::Daily, 1, 0, 0, 0, 0, {2026, 3, 27}, 2, 30};
    daily.minute = 15;
    daily.count = 4;
    const struct
    {
        const char* reader;
        std::vector<std::string> rows;
    } cases[] = {
        {"Europe/Berlin",
         {"2026-03-27 02:15..2026-03-27 02:45 (30)", "2026-03-28 02:15..2026-03-28 02:45 (30)",
          "2026-03-29 03:15..2026-03-29 03:45 (30)", "2026-03-30 02:15..2026-03-30 02:45 (30)"}},
        {"Asia/Tokyo",
         {"2026-03-27 10:15..2026-03-27 10:45 (30)", "2026-03-28 10:15..2026-03-28 10:45 (30)",
          "2026-03-29 10:15..2026-03-29 10:45 (30)", "2026-03-30 09:15..2026-03-30 09:45 (30)"}},
        {"CET-1CEST,M3.5.0,M10.5.0/3",
         {"2026-03-27 02:15..2026-03-27 02:45 (30)", "2026-03-28 02:15..2026-03-28 02:45 (30)",
          "2026-03-29 03:15..2026-03-29 03:45 (30)", "2026-03-30 02:15..2026-03-30 02:45 (30)"}},
    };
    struct BerlinAgain
    {
        ~BerlinAgain()
        {
            setenv("TZ", "Europe/Berlin", 1);
            tzset();
        }
    } berlinAgain;
    const auto berlin = AddSeries(daily);
    Columns();
    for (const auto& c : cases) {
        if (std::string(c.reader).find(',') != std::string::npos) {
            // A zone without a name: its series record none and read on the reader's clock.
            Store().DeleteItem(berlin.EntryId());
            setenv("TZ", c.reader, 1);
            tzset();
            const auto zoneless = AddSeries(daily);
            ASSERT_EQ(Store().GetRecurrence(zoneless.EntryId())->timeZone, "");
        }
        setenv("TZ", c.reader, 1);
        tzset();
        for (const trDateField eField : {trStartDate, trEndDate}) {
            SCOPED_TRACE(std::string(c.reader) + (eField == trStartDate ? " by start" : " by end"));
            Root().Records()->Filter()->SetTimeCondition(
                eField, trTimeBetween, rt::Variant(At(2026, 3, 27)), rt::Variant(At(2026, 3, 30)));
            FolderDataList list;
            list.Add(Entry(m_calendar));
            Root().ReadRecords(list);
            std::vector<std::string> rows;
            for (const auto& r : *Root().Records())
                rows.push_back(
                    Format(r->Fields(rt::Variant("Start"))->Value()) + ".." +
                    Format(r->Fields(rt::Variant("End"))->Value()) + " (" +
                    std::to_string(rt::CLng(r->Fields(rt::Variant("Duration"))->Value())) + ")");
            std::sort(rows.begin(), rows.end());
            EXPECT_THAT(rows, ElementsAreArray(c.rows));
        }
    }
}

TEST_F(RecurrenceTest, WalksReachingTheEndOfTheCalendarEndThereAndTheReadGoesOn)
{
    // Series that never end, read in the calendar's last year: each walk steps past
    // 31 December 9999 after its last candidate. The single items stored after them are read.
    using T = st::RecurrenceType;
    AddSeries({T::Yearly, 12, 0, 15, 1, 0, {2024, 1, 15}, 9, 60});
    AddSeries({T::YearNth, 12, st::kMonday, 0, 1, 1, {2024, 1, 1}, 9, 60});
    AddSeries({T::Monthly, 11, 0, 20, 0, 0, {2024, 1, 20}, 9, 60});
    AddSeries({T::MonthNth, 1, st::kFriday, 0, 0, 5, {2024, 1, 26}, 9, 60});
    AddSeries({T::Weekly, 1, st::kFriday, 0, 0, 0, {2024, 1, 5}, 9, 60});
    AddSeries({T::Daily, 1, 0, 0, 0, 0, {2024, 1, 1}, 9, 60});
    B().Appointment(m_calendar.entryId, "Einzeln", L(9999, 2, 10, 9), L(9999, 2, 10, 10));
    B().Appointment(m_calendar.entryId, "Einzeln", L(9999, 12, 31, 22), L(9999, 12, 31, 23));
    EXPECT_THAT(Starts(trStartDate, trTimeBetween, At(9999, 1, 1), At(9999, 3, 1)),
                ElementsAre("9999-02-10 09:00"));
    EXPECT_THAT(Starts(trStartDate, trTimeBetween, At(9999, 1, 1), At(9999, 12, 31)),
                ElementsAre("9999-02-10 09:00", "9999-12-31 22:00"));
    EXPECT_THAT(Starts(trEndDate, trTimeBetween, At(9999, 12, 1), At(9999, 12, 31)),
                ElementsAre("9999-12-31 22:00"));
}

TEST_F(RecurrenceTest, OccurrenceRecordsCarryTheirOwnTimesAndTheSeriesClip)
{
    AddSeries({st::RecurrenceType::Daily,
               1,
               0,
               0,
               0,
               0,
               {2024, 5, 1},
               9,
               45,
               st::CivilDate{2024, 6, 30}});
    Columns();
    Root().Records()->Filter()->SetTimeCondition(
        trStartDate, trTimeBetween, rt::Variant(At(2024, 5, 20)), rt::Variant(At(2024, 5, 20)));
    FolderDataList list;
    list.Add(Entry(m_calendar));
    Root().ReadRecords(list);
    ASSERT_EQ(Root().Records()->Count(), 1);
    const auto r = Root().Records()->Item(1);
    EXPECT_EQ(r->Fields(rt::Variant("Start"))->Value(), rt::Variant(At(2024, 5, 20, 9)));
    EXPECT_EQ(r->Fields(rt::Variant("End"))->Value(), rt::Variant(At(2024, 5, 20, 9, 45)));
    EXPECT_EQ(r->Fields(rt::Variant("Duration"))->Value(), rt::Variant(std::int32_t{45}));
    EXPECT_EQ(r->Fields(rt::Variant("ClipStart"))->Value(), rt::Variant(At(2024, 5, 1)));
}

TEST_F(RecurrenceTest, DefaultWindowsFromTheSettings)
{
    AddSeries({st::RecurrenceType::Weekly, 1, st::kWednesday, 0, 0, 0, {2024, 5, 1}, 9, 60});
    // No window: today (15 May) to 90 days later (13 August).
    const auto none = Starts();
    ASSERT_EQ(none.size(), 13u);
    EXPECT_EQ(none.front(), "2024-05-15 09:00");
    EXPECT_EQ(none.back(), "2024-08-07 09:00");
    // Only a start: 90 days after it; only an end: 90 days before it.
    const auto from = Starts(trStartDate, trTimeFromDate, At(2024, 6, 1), rt::Date());
    ASSERT_FALSE(from.empty());
    EXPECT_EQ(from.front(), "2024-06-05 09:00");
    EXPECT_EQ(from.back(), "2024-08-28 09:00");
    const auto to = Starts(trStartDate, trTimeToDate, rt::Date(), At(2024, 8, 30));
    EXPECT_EQ(to, from);
}

TEST_F(RecurrenceTest, DefaultWindowLengthComesFromTheSettings)
{
    WriteSettings("DateRangeTo=7\n");
    AddSeries({st::RecurrenceType::Daily, 1, 0, 0, 0, 0, {2024, 5, 1}, 9, 60});
    const auto starts = Starts();
    ASSERT_EQ(starts.size(), 8u);
    EXPECT_EQ(starts.front(), "2024-05-15 09:00");
    EXPECT_EQ(starts.back(), "2024-05-22 09:00");
}

TEST_F(RecurrenceTest, RecurringTaskIsOneRecord)
{
    st::RecurrencePattern p;
    p.type = st::RecurrenceType::Weekly;
    p.dayOfWeekMask = st::kFriday;
    p.patternStartDay = st::DayFromCivil({2024, 5, 17});
    B().Task(m_tasks.entryId, "Wochenbericht").Recur(p);
    Columns();
    Column("Recurring", 0, PT_BOOLEAN, 6);
    EXPECT_THAT(Subjects({m_tasks}), ElementsAre("Wochenbericht"));
    EXPECT_EQ(Root().Records()->Item(1)->Fields(rt::Variant("Recurring"))->Value(),
              rt::Variant(true));
}

TEST_F(RecurrenceTest, MidnightAndAllDayItemsOnTheFirstAndLastDayOfEveryPresetWindow)
{
    // Today is Wednesday 15 May 2024 and weeks start on Monday; the windows are written out.
    const struct
    {
        const char* name;
        trTimeFilter preset;
        ch::sys_days first;
        ch::sys_days last;
    } cases[] = {
        {"yesterday", trTimeYesterday, Civil(2024, 5, 14), Civil(2024, 5, 14)},
        {"today", trTimeToday, Civil(2024, 5, 15), Civil(2024, 5, 15)},
        {"tomorrow", trTimeTomorrow, Civil(2024, 5, 16), Civil(2024, 5, 16)},
        {"last seven days", trTimeLastSevenDays, Civil(2024, 5, 8), Civil(2024, 5, 14)},
        {"next seven days", trTimeNextSevenDays, Civil(2024, 5, 16), Civil(2024, 5, 22)},
        {"last week", trTimeLastWeek, Civil(2024, 5, 6), Civil(2024, 5, 12)},
        {"this week", trTimeThisWeek, Civil(2024, 5, 13), Civil(2024, 5, 19)},
        {"next week", trTimeNextWeek, Civil(2024, 5, 20), Civil(2024, 5, 26)},
        {"last month", trTimeLastMonth, Civil(2024, 4, 1), Civil(2024, 4, 30)},
        {"this month", trTimeThisMonth, Civil(2024, 5, 1), Civil(2024, 5, 31)},
        {"next month", trTimeNextMonth, Civil(2024, 6, 1), Civil(2024, 6, 30)},
        {"last year", trTimeLastYear, Civil(2023, 1, 1), Civil(2023, 12, 31)},
        {"this year", trTimeThisYear, Civil(2024, 1, 1), Civil(2024, 12, 31)},
        {"next year", trTimeNextYear, Civil(2025, 1, 1), Civil(2025, 12, 31)},
        {"between", trTimeBetween, Civil(2024, 6, 3), Civil(2024, 6, 7)},
    };
    using T = st::RecurrenceType;
    AddSeries({T::Daily, 1, 0, 0, 0, 0, {2022, 12, 1}, 0, 24 * 60}, "Ganztags-Serie").AllDay();
    AddSeries({T::Daily, 1, 0, 0, 0, 0, {2022, 12, 1}, 0, 60}, "Mitternachts-Serie");
    const ch::days one{1};
    for (const auto& c : cases) {
        // Single items on the days around both bounds, and a series and an item of no length
        // at the window's last minute (the last instant the item table's window holds).
        std::vector<ch::sys_days> days = {c.first - one, c.first, c.last, c.last + one};
        days.erase(std::unique(days.begin(), days.end()), days.end());
        std::vector<std::string> made;
        for (const auto d : days) {
            made.push_back(B().Appointment(m_calendar.entryId, "Ganztags-Termin", L(d), L(d + one))
                               .AllDay()
                               .EntryId());
            made.push_back(B().Appointment(m_calendar.entryId, "Mitternachts-Termin", L(d), L(d, 1))
                               .EntryId());
        }
        made.push_back(B().Appointment(m_calendar.entryId, "Letzte-Minute", L(c.last, 23, 59),
                                       L(c.last, 23, 59))
                           .EntryId());
        const ch::year_month_day last{c.last};
        const st::CivilDate lastDay{int(last.year()), int(unsigned(last.month())),
                                    int(unsigned(last.day()))};
        made.push_back(AddSeries({T::Daily, 1, 0, 0, 0, 0, lastDay, 23, 0, std::nullopt, 59},
                                 "Letzte-Minute-Serie")
                           .EntryId());
        for (const trDateField eField : {trStartDate, trEndDate}) {
            SCOPED_TRACE(std::string(c.name) + (eField == trStartDate ? " by start" : " by end"));
            Columns();
            Root().Records()->Filter()->SetTimeCondition(eField, c.preset,
                                                         rt::Variant(At(2024, 6, 3, 14, 30)),
                                                         rt::Variant(At(2024, 6, 7, 8)));
            auto got = StartsBySubject();
            // An all-day item ends at the next midnight: by the end date, the day before the
            // window ends on its first instant and is in, the window's last day ends after it.
            const bool bByEnd = eField == trEndDate;
            const auto allDayFirst = bByEnd ? c.first - one : c.first;
            const auto allDayLast = bByEnd ? c.last - one : c.last;
            std::vector<std::string> allDaySingles, midnightSingles;
            for (const auto d : days) {
                if (d >= allDayFirst && d <= allDayLast)
                    allDaySingles.push_back(TextAt(d));
                if (d >= c.first && d <= c.last)
                    midnightSingles.push_back(TextAt(d));
            }
            EXPECT_THAT(got["Ganztags-Serie"],
                        ElementsAreArray(Midnights(allDayFirst, allDayLast)));
            EXPECT_THAT(got["Mitternachts-Serie"], ElementsAreArray(Midnights(c.first, c.last)));
            EXPECT_THAT(got["Ganztags-Termin"], ElementsAreArray(allDaySingles));
            EXPECT_THAT(got["Mitternachts-Termin"], ElementsAreArray(midnightSingles));
            EXPECT_THAT(got["Letzte-Minute"], ElementsAre(TextAt(c.last, 23, 59)));
            EXPECT_THAT(got["Letzte-Minute-Serie"], ElementsAre(TextAt(c.last, 23, 59)));
        }
        for (const auto& sEntryId : made)
            Store().DeleteItem(sEntryId);
    }
}

TEST_F(RecurrenceTest, RecordsOfSeveralCalendarsKeepTheirValuesAfterTheRead)
{
    // Two calendars read one after the other: the rows of the first are let go before the
    // second is read, and the records of both must keep what they read, also through a second
    // read of the same folders.
    st::OccurrenceChange moved;
    moved.start = L(2024, 5, 21, 14);
    moved.end = L(2024, 5, 21, 15, 30);
    const auto series =
        AddSeries({st::RecurrenceType::Weekly, 1, st::kMonday, 0, 0, 0, {2024, 5, 6}, 9, 60},
                  "Jour fixe")
            .Location("Raum 1")
            .DeleteOccurrence({2024, 5, 13})
            .ModifyOccurrence({2024, 5, 20}, moved);
    const auto single =
        B().Appointment(m_calendar.entryId, "Einzeln", L(2024, 5, 8, 10), L(2024, 5, 8, 12))
            .Location("Raum 2");
    const auto other = B().Folder("Projekte", st::ItemType::Appointment);
    const auto plain =
        B().Appointment(other.entryId, "Projekt", L(2024, 5, 9, 8), L(2024, 5, 9, 8, 15));
    Columns();
    Column("Location", 0, PT_STRING8, 0,
           rt::Variant(static_cast<std::int16_t>(static_cast<std::uint16_t>(0x8208))),
           mapi::PSETID_Appointment);
    Column("Folder", 0, PT_LONG, 1);
    Root().Records()->Filter()->SetTimeCondition(
        trStartDate, trTimeBetween, rt::Variant(At(2024, 5, 1)), rt::Variant(At(2024, 5, 31)));
    FolderDataList list;
    list.Add(Entry(m_calendar));
    list.Add(Entry(other));
    const auto read = [&] {
        Root().ReadRecords(list);
        std::vector<Row> rows;
        for (const auto& r : *Root().Records()) {
            EXPECT_EQ(r->StoreID(), Store().EntryId());
            rows.push_back({r->EntryID(), Text(r->Fields(rt::Variant("Subject"))->Value()),
                            Format(r->Fields(rt::Variant("Start"))->Value()),
                            Format(r->Fields(rt::Variant("End"))->Value()),
                            Text(r->Fields(rt::Variant("Location"))->Value()),
                            Text(r->Fields(rt::Variant("Folder"))->Value()),
                            rt::CLng(r->Fields(rt::Variant("Duration"))->Value())});
        }
        return rows;
    };
    const auto sSeries = series.EntryId();
    const auto first = read();
    // A modified occurrence is named by its own item, as the store keeps it.
    std::string sMoved;
    for (const auto& r : first)
        if (r.start == "2024-05-21 14:00")
            sMoved = r.entryId;
    EXPECT_NE(sMoved, sSeries);
    EXPECT_FALSE(sMoved.empty());
    const std::vector<Row> expected = {
        {sSeries, "Jour fixe", "2024-05-06 09:00", "2024-05-06 10:00", "Raum 1", m_calendar.name,
         60},
        {sMoved, "Jour fixe", "2024-05-21 14:00", "2024-05-21 15:30", "Raum 1", m_calendar.name,
         90},
        {sSeries, "Jour fixe", "2024-05-27 09:00", "2024-05-27 10:00", "Raum 1", m_calendar.name,
         60},
        {single.EntryId(), "Einzeln", "2024-05-08 10:00", "2024-05-08 12:00", "Raum 2",
         m_calendar.name, 120},
        {plain.EntryId(), "Projekt", "2024-05-09 08:00", "2024-05-09 08:15", "<empty>", "Projekte",
         15},
    };
    auto sorted = [](std::vector<Row> rows) {
        std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return std::tie(a.start, a.entryId) < std::tie(b.start, b.entryId);
        });
        return rows;
    };
    EXPECT_THAT(sorted(first), ElementsAreArray(sorted(expected)));
    EXPECT_THAT(read(), ElementsAreArray(first))
        << "a second read of the same folders gives the same records";
    EXPECT_EQ(list.Count(), 2);
}

} // namespace engine::test
