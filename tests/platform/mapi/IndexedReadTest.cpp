#include "CalendarRead.h"
#include "MapiFixture.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/TableFilter.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/store/SampleProfile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::mapi::test {

namespace rt = platform::runtime;

namespace {

/// A window on a date tag: both bounds, or one of them (UTC seconds).
struct Window
{
    const char* name;
    bool onEnd;
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    bool alsoUnbounded = false; ///< adds a branch the value index cannot answer
};

/// The generated sample profile (series with deleted and moved occurrences, all-day items)
/// read through a restricted item collection, whose window the store answers through its
/// value index, and by testing every item of the folder.
class IndexedReadTest : public MapiFixture
{
protected:
    void SetUp() override
    {
        MapiFixture::SetUp();
        st::SampleProfileOptions options;
        options.calendarItems = 3000;
        m_sample = st::GenerateSampleProfile(Dir() / "sample", options);
        SetCurrentProfile((Dir() / "sample").string());
        auto store = m_sample->DefaultStore();
        m_calendar = store->DefaultFolder(st::FolderRole::Calendar)->entryId;
        const auto tag = [&](long lid, std::uint16_t type) {
            return st::MakeTag(*store->GetIdFromName(st::NamedProperty::Lid(PSETID_Appointment,
                                                                            lid)),
                               type);
        };
        m_start = tag(LID_APPT_START, st::PT_SYSTIME);
        m_end = tag(LID_APPT_END, st::PT_SYSTIME);
        m_recurring = tag(LID_APPT_RECURRING, st::PT_BOOLEAN);
        m_rows = store->ReadTable(m_calendar, std::vector<st::PropTag>{m_start, m_end, m_recurring});
    }

    void TearDown() override
    {
        m_sample.reset();
        MapiFixture::TearDown();
    }

    /// The engine's shape of a calendar read: every series, and the single items in the window.
    void Build(Restriction& root, const Window& w) const
    {
        const auto tag = static_cast<std::int32_t>(w.onEnd ? m_end : m_start);
        auto any = AddCalendarRead(root, tag, static_cast<std::int32_t>(m_start),
                                   static_cast<std::int32_t>(m_recurring), w.from, w.to);
        if (w.alsoUnbounded)
            any->Add(RES_NOT)->SetKind(RES_EXIST)->SetUlPropTag(tag);
    }

    /// Whether one row passes the window, tested directly on its values.
    bool Passes(const st::TableRow& row, const Window& w) const
    {
        const auto time = [&](std::size_t c) -> std::optional<std::int64_t> {
            const auto* t = row.values[c] ? std::get_if<st::SysTime>(&*row.values[c]) : nullptr;
            return t ? std::optional(t->seconds) : std::nullopt;
        };
        const auto* flag = row.values[2] ? std::get_if<bool>(&*row.values[2]) : nullptr;
        if (flag && *flag && time(0))
            return true;
        const auto value = time(w.onEnd ? 1 : 0);
        if (!value)
            return w.alsoUnbounded;
        return (!w.from || *value >= *w.from) && (!w.to || *value <= *w.to) && !(flag && *flag);
    }

    std::vector<std::string> Restricted(const Window& w)
    {
        auto folder = LoggedOnSession()->GetDefaultFolder(olFolderCalendar);
        auto items = folder->GetItems();
        Table table;
        table.SetItem(items);
        auto filter = table.Filter();
        filter->Clear();
        Build(*filter->SetKind(RES_AND), w);
        filter->Apply();
        std::vector<std::string> ids;
        const long count = items->Count();
        for (long i = 1; i <= count; ++i)
            ids.push_back(items->Item(i)->EntryID());
        // The table's own rows are the same items, and as many as the collection counts.
        table.SetColumns(std::vector<std::int32_t>{PR_ENTRYID});
        std::vector<std::string> rows;
        const auto read = table.GetRows(1 << 30);
        if (!read.IsEmpty())
            for (std::int32_t r = 0; r <= read.AsArray().UBound(1); ++r)
                rows.push_back(*read.AsArray()(r, 0).Get<std::string>());
        EXPECT_EQ(static_cast<long>(rows.size()), count) << w.name;
        EXPECT_EQ(rows, ids) << w.name;
        return ids;
    }

    std::vector<std::string> Tested(const Window& w) const
    {
        std::vector<std::string> ids;
        for (const auto& row : m_rows)
            if (Passes(row, w))
                ids.push_back(row.item.entryId);
        return ids;
    }

    /// Whether an item may be missing from a window read that `Tested` expects it in: a series
    /// (of its own pattern) without any occurrence starting within a day of the window.
    bool MayBeLeftOut(const std::string& id, const Window& w) const
    {
        const auto pattern = m_sample->DefaultStore()->GetRecurrence(id);
        if (!pattern)
            return false;
        const auto local = [](std::optional<std::int64_t> utc, std::int64_t otherwise) {
            return utc ? st::UtcToLocal(st::SysTime{*utc}) : st::LocalTime{otherwise};
        };
        const auto from = local(w.from, st::StartOfDay(st::DayFromCivil({1601, 1, 1})).seconds);
        const auto to = local(w.to, st::StartOfDay(st::DayFromCivil({4500, 12, 31})).seconds);
        return pattern
            ->OccurrencesBetween(st::LocalTime{from.seconds - st::kSecondsPerDay},
                                 st::LocalTime{to.seconds + st::kSecondsPerDay})
            .empty();
    }

    /// A window read gives what testing every item gives, in the same order, except series
    /// that cannot reach the window: those it may leave out.
    void ExpectTested(const std::vector<std::string>& read, const Window& w) const
    {
        const auto expected = Tested(w);
        EXPECT_FALSE(expected.empty()) << w.name;
        std::size_t at = 0;
        for (const auto& id : expected) {
            if (at < read.size() && read[at] == id)
                ++at;
            else
                EXPECT_TRUE(MayBeLeftOut(id, w)) << w.name << ": " << id << " missing";
        }
        EXPECT_EQ(at, read.size()) << w.name << ": more rows than expected, or out of order";
    }

    /// The start (or end) of the n-th single item, an edge that windows meet exactly.
    std::int64_t EdgeOf(std::size_t n, bool onEnd) const
    {
        for (const auto& row : m_rows) {
            const auto& v = row.values[onEnd ? 1 : 0];
            if (v && !(row.values[2] && std::get<bool>(*row.values[2])) && n-- == 0)
                return std::get<st::SysTime>(*v).seconds;
        }
        return 0;
    }

    std::shared_ptr<st::Profile> m_sample;
    std::string m_calendar;
    st::PropTag m_start = 0, m_end = 0, m_recurring = 0;
    std::vector<st::TableRow> m_rows;
};

} // namespace

TEST_F(IndexedReadTest, IndexedWindowsGiveWhatTestingEveryItemGives)
{
    const auto day = [](int y, int m, int d) {
        return st::LocalToUtc(st::MakeLocalTime(y, m, d)).seconds;
    };
    const Window windows[] = {
        {"a month", false, day(2024, 6, 1), day(2024, 7, 1) - 60},
        {"a year", false, day(2024, 1, 1), day(2025, 1, 1) - 60},
        {"one day of all-day items", false, day(2024, 6, 15), day(2024, 6, 15)},
        {"ends in a week", true, day(2024, 6, 10), day(2024, 6, 17) - 60},
        {"edges on starts", false, EdgeOf(10, false), EdgeOf(20, false)},
        {"edges on ends", true, EdgeOf(30, true), EdgeOf(40, true)},
        {"from a day on", false, day(2024, 9, 1), std::nullopt},
        {"up to a day", false, std::nullopt, day(2024, 3, 1)},
        {"with a branch the index cannot answer", false, day(2024, 6, 1), day(2024, 6, 30),
         true},
    };
    for (const auto& w : windows)
        ExpectTested(Restricted(w), w);
}

// The columns item rows keep (and the window read that takes them from there) give what the
// items' stored properties hold, on every item of the generated calendar: series, all-day
// items, items across the window's edges.
TEST_F(IndexedReadTest, KeptColumnsGiveTheStoredPropertiesOfEveryItem)
{
    auto store = m_sample->DefaultStore();
    const auto named = [&](long lid, std::uint16_t type) {
        return st::MakeTag(*store->GetIdFromName(st::NamedProperty::Lid(PSETID_Appointment, lid)),
                           type);
    };
    const std::vector<st::PropTag> tags{st::props::PR_SUBJECT,
                                        m_start,
                                        m_end,
                                        m_recurring,
                                        named(st::props::LID_AllDayEvent, st::PT_BOOLEAN),
                                        named(st::props::LID_AppointmentDuration, st::PT_LONG),
                                        named(st::props::LID_Location, st::PT_STRING8)};
    const auto day = [](int y, int m, int d) {
        return st::LocalToUtc(st::MakeLocalTime(y, m, d)).seconds;
    };
    const st::ValueRange month[] = {{m_start, day(2024, 6, 1), day(2024, 7, 1) - 60},
                                    {m_recurring, 1, 1}};
    const auto all = store->ReadTable(m_calendar, tags);
    const auto window = store->ReadTableInRanges(m_calendar, tags, month);
    ASSERT_GT(window.size(), 100u);
    ASSERT_LT(window.size(), all.size());
    std::size_t allDay = 0, series = 0;
    for (const auto* rows : {&all, &window})
        for (const auto& row : *rows)
            for (std::size_t c = 0; c < tags.size(); ++c) {
                const auto stored = store->GetItemProperty(row.item.entryId, tags[c]);
                ASSERT_EQ(row.values[c], stored) << row.item.entryId << " tag " << tags[c];
                const bool set = stored && std::holds_alternative<bool>(*stored) &&
                                 std::get<bool>(*stored);
                allDay += c == 4 && set;
                series += c == 3 && set;
            }
    EXPECT_GT(allDay, 0u);
    EXPECT_GT(series, 0u);
}

} // namespace platform::mapi::test
