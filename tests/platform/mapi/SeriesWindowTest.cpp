#include "CalendarRead.h"
#include "MapiFixture.h"

#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/RecurrencePattern.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/TableFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace platform::mapi::test {

namespace {

/// What a calendar read makes of its items: one record per item in the window, and one per
/// occurrence of a series (the item, the occurrence's start, its subject).
using Record = std::tuple<std::string, std::int64_t, std::string>;

/// A calendar read's window on the start or the end (UTC seconds; a missing bound is open).
struct Window
{
    const char* name;
    bool onEnd;
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
};

std::int64_t Utc(int y, int m, int d, int h = 0)
{
    return st::LocalToUtc(st::MakeLocalTime(y, m, d, h)).seconds;
}

st::RecurrencePattern Weekly(st::CivilDate first, std::optional<st::CivilDate> last)
{
    st::RecurrencePattern p;
    p.type = st::RecurrenceType::Weekly;
    p.interval = 1;
    p.dayOfWeekMask = 1 << st::WeekdayOfDay(st::DayFromCivil(first));
    p.startMinute = 9 * 60;
    p.durationMinutes = 90;
    p.patternStartDay = st::DayFromCivil(first);
    p.end = last ? st::RecurrenceEnd::ByDate : st::RecurrenceEnd::Never;
    if (last)
        p.patternEndDay = st::DayFromCivil(*last);
    return p;
}

/// A calendar of series placed around March 2025: ending well before it, just before it, on
/// its first day and after it, never ending, beginning after it; with occurrences moved past
/// the pattern's end or before its start into it, a deleted occurrence, patterns changed after
/// creation, items flagged recurring without a pattern and single items across its edges. The
/// same calendar is read through a restricted item collection and by testing every item.
class SeriesWindowTest : public MapiFixture
{
protected:
    void SetUp() override
    {
        MapiFixture::SetUp();
        m_calendar = Store().DefaultFolder(st::FolderRole::Calendar)->entryId;
        const auto named = [&](std::uint32_t lid, std::uint16_t type) {
            return Builder().NamedTag(st::NamedProperty::Lid(PSETID_Appointment, lid), type);
        };
        m_start = named(st::props::LID_AppointmentStart, st::PT_SYSTIME);
        m_end = named(st::props::LID_AppointmentEnd, st::PT_SYSTIME);
        m_recurring = named(st::props::LID_Recurring, st::PT_BOOLEAN);

        Series("over a week before", {2024, 10, 7}, st::CivilDate{2025, 2, 17});
        Series("over the day before", {2024, 10, 4}, st::CivilDate{2025, 2, 28});
        Series("over on the first day", {2024, 10, 5}, st::CivilDate{2025, 3, 1});
        Series("over after", {2024, 10, 8}, st::CivilDate{2025, 6, 30});
        Series("never over", {2020, 1, 6}, std::nullopt);
        Series("begins after", {2025, 4, 14}, std::nullopt);
        Series("begins on the last day", {2025, 3, 31}, st::CivilDate{2025, 5, 31});
        const auto moved = [](int day, int hour, const char* subject) {
            st::OccurrenceChange change;
            change.start = st::MakeLocalTime(2025, 3, day, hour);
            change.end = st::MakeLocalTime(2025, 3, day, hour + 1);
            change.subject = subject;
            return change;
        };
        Series("moved past the end", {2024, 11, 6}, st::CivilDate{2025, 1, 29})
            .ModifyOccurrence({2025, 1, 15}, moved(12, 15, "moved past its end"));
        Series("moved before the start", {2025, 4, 7}, st::CivilDate{2025, 6, 30})
            .ModifyOccurrence({2025, 4, 7}, moved(20, 8, "moved before its start"));
        Series("one deleted", {2025, 1, 7}, st::CivilDate{2025, 3, 11})
            .DeleteOccurrence({2025, 3, 4});
        auto shortened = Series("shortened later", {2024, 9, 2}, st::CivilDate{2025, 12, 29});
        shortened.Recur(Weekly({2024, 9, 2}, st::CivilDate{2025, 1, 27}));
        auto lengthened = Series("lengthened later", {2024, 9, 3}, st::CivilDate{2024, 12, 31});
        lengthened.Recur(Weekly({2024, 9, 3}, std::nullopt));

        // Flagged recurring without a pattern: items of their own time.
        for (const auto day : {3, 15}) {
            Builder()
                .Appointment(m_calendar, "flagged " + std::to_string(day),
                             st::MakeLocalTime(2025, day == 3 ? 3 : 5, day, 10),
                             st::MakeLocalTime(2025, day == 3 ? 3 : 5, day, 11))
                .Set(m_recurring, st::PropValue{true});
        }
        for (const auto& [day, hour] : {std::pair{28, 23}, {1, 0}, {15, 12}, {31, 23}}) {
            const int month = day == 28 ? 2 : 3;
            const auto start = st::MakeLocalTime(2025, month, day, hour);
            Builder().Appointment(m_calendar, "single", start,
                                  st::LocalTime{start.seconds + 2 * 3600});
        }
        Builder()
            .Appointment(m_calendar, "all day", st::MakeLocalTime(2025, 3, 1),
                         st::MakeLocalTime(2025, 3, 2))
            .AllDay();
        // Older items, so that a window holds a small part of the folder (its series are then
        // read for its rows) and a day fewer rows than the folder has series.
        for (int day = 1; day <= 120; ++day) {
            const auto start = st::StartOfDay(st::DayFromCivil({2023, 1, 1}) + day);
            Builder().Appointment(m_calendar, "older", st::LocalTime{start.seconds + 8 * 3600},
                                  st::LocalTime{start.seconds + 9 * 3600});
        }
    }

    st::ItemBuilder Series(const std::string& subject, st::CivilDate first,
                           std::optional<st::CivilDate> last)
    {
        const auto start = st::MakeLocalTime(first.year, first.month, first.day, 9);
        auto item = Builder().Appointment(m_calendar, subject, start,
                                          st::LocalTime{start.seconds + 90 * 60});
        item.Recur(Weekly(first, last));
        m_series[subject] = item.EntryId();
        return item;
    }

    /// The occurrences of a series the window holds (by start, or by end), by the store's own
    /// expansion of its pattern.
    std::vector<st::Occurrence> Occurrences(const st::RecurrencePattern& p, const Window& w) const
    {
        const auto local = [](std::optional<std::int64_t> utc, int year) {
            return utc ? st::UtcToLocal(st::SysTime{*utc}) : st::MakeLocalTime(year, 1, 1);
        };
        const auto from = local(w.from, 2000);
        const auto to = local(w.to, 2030);
        auto all = p.OccurrencesBetween(st::LocalTime{from.seconds - 2 * st::kSecondsPerDay}, to);
        std::erase_if(all, [&](const st::Occurrence& o) {
            const auto at = w.onEnd ? o.end : o.start;
            return at < from || at > to;
        });
        return all;
    }

    bool InWindow(const st::PropValue* value, const Window& w) const
    {
        const auto* t = value ? std::get_if<st::SysTime>(value) : nullptr;
        return t && (!w.from || t->seconds >= *w.from) && (!w.to || t->seconds <= *w.to);
    }

    /// The records of the window by testing every item of the folder.
    std::multiset<Record> Tested(const Window& w)
    {
        std::multiset<Record> out;
        const auto rows = Store().ReadTable(
            m_calendar, std::vector<st::PropTag>{m_start, m_end, m_recurring, st::props::PR_SUBJECT});
        for (const auto& row : rows) {
            const auto& id = row.item.entryId;
            const auto subject = std::get<std::string>(*row.values[3]);
            if (const auto pattern = Store().GetRecurrence(id)) {
                for (const auto& o : Occurrences(*pattern, w))
                    out.emplace(id, o.start.seconds,
                                o.itemEntryId.empty()
                                    ? subject
                                    : std::get<std::string>(*Store().GetItemProperty(
                                          o.itemEntryId, st::props::PR_SUBJECT)));
            } else if (InWindow(row.values[w.onEnd ? 1 : 0] ? &*row.values[w.onEnd ? 1 : 0]
                                                            : nullptr,
                                w)) {
                out.emplace(id, 0, subject);
            }
        }
        return out;
    }

    /// The records of the window through a restricted item collection, its items' recurrence
    /// and their occurrences; `listed` gets the collection's items.
    std::multiset<Record> Read(const Window& w, std::vector<std::string>& listed)
    {
        auto items = LoggedOnSession()->GetDefaultFolder(olFolderCalendar)->GetItems();
        Table table;
        table.SetItem(items);
        auto filter = table.Filter();
        filter->Clear();
        AddCalendarRead(*filter->SetKind(RES_AND),
                        static_cast<std::int32_t>(w.onEnd ? m_end : m_start),
                        static_cast<std::int32_t>(m_start), static_cast<std::int32_t>(m_recurring),
                        w.from, w.to);
        filter->Apply();
        // The reader's columns: the collection reads its rows and their series in one pass.
        items->RawTable()->SetColumns(std::vector<std::int32_t>{
            static_cast<std::int32_t>(m_start), static_cast<std::int32_t>(m_end)});
        std::multiset<Record> out;
        listed.clear();
        for (long i = 1; i <= items->Count(); ++i) {
            const auto item = items->Item(i);
            const auto id = item->EntryID();
            listed.push_back(id);
            if (!item->IsRecurring()) {
                // The store's window gave it for its own time; the restriction keeps it.
                out.emplace(id, 0, item->Subject());
                continue;
            }
            const auto pattern = Store().GetRecurrence(id);
            if (!pattern) {
                ADD_FAILURE() << w.name << ": " << id << " recurs without a pattern";
                continue;
            }
            auto library = item->GetRecurrencePattern();
            for (const auto& o : Occurrences(*pattern, w)) {
                // The library's occurrence on the pattern's day, as the reader takes it.
                const auto occurrence = library->TryGetOccurrence(
                    detail::ToDate(st::LocalToUtc(o.originalStart)));
                out.emplace(id, o.start.seconds, occurrence ? occurrence->Subject() : "?");
            }
        }
        return out;
    }

    std::string m_calendar;
    st::PropTag m_start = 0, m_end = 0, m_recurring = 0;
    std::map<std::string, std::string> m_series;
};

} // namespace

TEST_F(SeriesWindowTest, WindowReadsGiveWhatTestingEveryItemGives)
{
    const Window windows[] = {
        {"March", false, Utc(2025, 3, 1), Utc(2025, 4, 1) - 60},
        {"March by ends", true, Utc(2025, 3, 1), Utc(2025, 4, 1) - 60},
        {"from March on", false, Utc(2025, 3, 1), std::nullopt},
        {"up to March", false, std::nullopt, Utc(2025, 3, 1)},
        {"one day", false, Utc(2025, 3, 12), Utc(2025, 3, 13) - 60},
    };
    for (const auto& w : windows) {
        std::vector<std::string> listed;
        const auto read = Read(w, listed);
        const auto expected = Tested(w);
        EXPECT_FALSE(expected.empty()) << w.name;
        EXPECT_EQ(read, expected) << w.name;
    }
}

// The read of March takes the series that can reach it and leaves out those that cannot:
// over a week before it, begun after it, or changed since to end before it.
TEST_F(SeriesWindowTest, MarchLeavesOutSeriesThatCannotReachIt)
{
    std::vector<std::string> listed;
    Read({"March", false, Utc(2025, 3, 1), Utc(2025, 4, 1) - 60}, listed);
    const auto holds = [&](const char* subject) {
        return std::find(listed.begin(), listed.end(), m_series.at(subject)) != listed.end();
    };
    for (const auto* out : {"over a week before", "begins after", "shortened later"})
        EXPECT_FALSE(holds(out)) << out;
    for (const auto* in : {"over on the first day", "over after", "never over",
                           "begins on the last day", "moved past the end",
                           "moved before the start", "one deleted", "lengthened later"})
        EXPECT_TRUE(holds(in)) << in;
}

} // namespace platform::mapi::test
