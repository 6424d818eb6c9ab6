#include "platform/store/Store.h"

#include "platform/store/SeriesClock.h"
#include "platform/store/StoreError.h"
#include "platform/store/detail/RunLanguage.h"
#include "platform/store/detail/SeriesReach.h"
#include "platform/store/detail/StoreImpl.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

namespace platform::store {

namespace {

// Pattern dates are wall-clock dates of the profile's time zone, kept as readable text.
std::string DayText(std::int32_t day)
{
    const CivilDate d = CivilFromDay(day);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string LocalText(LocalTime t)
{
    const std::int32_t sod = SecondOfDay(t);
    char buf[48];
    std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", sod / 3600, sod / 60 % 60, sod % 60);
    return DayText(DayOf(t)) + buf;
}

StoreError BadText(const std::string& text)
{
    return StoreError(StoreErrorKind::Database,
                      detail::InRunLanguage("beschädigtes Datum in einer Serie: \"" + text + "\"",
                                            "damaged date in a series: \"" + text + "\""),
                      StoreFailure::Damaged);
}

// The number the n digits at `at` spell; -1 when one is not a digit.
int Digits(const std::string& text, std::size_t at, std::size_t n)
{
    int value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Reads the fields of the texts this store writes ("YYYY-MM-DD", with " HH:MM:SS" after it)
// without the scanner: a folder's series hold thousands of them. Anything else goes through
// the scanner as before. Answers how many fields were read.
int ScanDate(const std::string& text, int (&f)[6], bool withTime)
{
    const std::size_t size = withTime ? 19 : 10;
    if (text.size() == size && text[4] == '-' && text[7] == '-' &&
        (!withTime || (text[10] == ' ' && text[13] == ':' && text[16] == ':'))) {
        const std::size_t at[] = {0, 5, 8, 11, 14, 17};
        const std::size_t width[] = {4, 2, 2, 2, 2, 2};
        const int fields = withTime ? 6 : 3;
        int read = 0;
        while (read < fields && (f[read] = Digits(text, at[read], width[read])) >= 0)
            ++read;
        if (read == fields)
            return read;
    }
    return withTime ? std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &f[0], &f[1], &f[2], &f[3],
                                  &f[4], &f[5])
                    : std::sscanf(text.c_str(), "%d-%d-%d", &f[0], &f[1], &f[2]);
}

std::int32_t ParseDay(const std::string& text)
{
    int f[6] = {};
    if (ScanDate(text, f, false) != 3)
        throw BadText(text);
    const int y = f[0], m = f[1], d = f[2];
    if (m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        throw BadText(text);
    return DayFromCivil({y, m, d});
}

LocalTime ParseLocal(const std::string& text)
{
    int f[6] = {};
    if (ScanDate(text, f, true) != 6)
        throw BadText(text);
    const int y = f[0], mo = f[1], d = f[2], h = f[3], mi = f[4], s = f[5];
    try {
        return MakeLocalTime(y, mo, d, h, mi, s);
    } catch (const StoreError&) {
        throw BadText(text);
    }
}

} // namespace

ItemInfo Store::CreateExceptionItem(std::string_view masterEntryId)
{
    const auto master = GetItem(masterEntryId);
    if (master.kind != ItemKind::Normal)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "exception items belong to folder items: " + std::string(masterEntryId));
    const auto row =
        impl_->InsertItem(impl_->RowOf(master.folderEntryId, ObjectKind::Folder),
                          master.messageClass, ItemKind::Exception, impl_->ItemRow(masterEntryId));
    return GetItem(impl_->MakeEntryId(ObjectKind::Item, row));
}

void Store::SetRecurrence(std::string_view itemEntryId, const RecurrencePattern& p)
{
    p.Validate();
    const auto item = impl_->ItemRow(itemEntryId);
    std::vector<std::int64_t> exceptionRows;
    for (const auto& e : p.exceptions) {
        if (e.deleted || e.itemEntryId.empty()) {
            exceptionRows.push_back(-1);
            continue;
        }
        const auto ex = GetItem(e.itemEntryId);
        if (ex.kind != ItemKind::Exception || ex.ownerEntryId != GetItem(itemEntryId).entryId)
            throw StoreError(StoreErrorKind::InvalidArgument,
                             "not an exception item of this series: " + e.itemEntryId);
        exceptionRows.push_back(impl_->RowOf(e.itemEntryId, ObjectKind::Item));
    }

    auto tx = BeginTransaction();
    // Exception items that the new pattern no longer names go with the old pattern.
    {
        std::vector<std::int64_t> orphans;
        auto& st = impl_->db.Prepare("SELECT id FROM items WHERE owner_id = ? AND kind = 1");
        st.Bind(1, item);
        while (st.Step())
            if (std::find(exceptionRows.begin(), exceptionRows.end(), st.Int(0)) ==
                exceptionRows.end())
                orphans.push_back(st.Int(0));
        for (const auto row : orphans)
            impl_->DeleteItemRow(row);
    }
    impl_->db.Prepare("DELETE FROM exceptions WHERE item_id = ?").Bind(1, item).Run();
    impl_->db
        .Prepare("INSERT OR REPLACE INTO recurrence(item_id, type, interval, day_of_week_mask, "
                 "day_of_month, month_of_year, instance, start_date, start_minute, duration, "
                 "end_kind, end_date, occurrences, time_zone) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, "
                 "?, ?, ?, ?, NULLIF(?, ''))")
        .Bind(1, item)
        .Bind(2, static_cast<std::int64_t>(p.type))
        .Bind(3, static_cast<std::int64_t>(p.interval))
        .Bind(4, static_cast<std::int64_t>(p.dayOfWeekMask))
        .Bind(5, static_cast<std::int64_t>(p.dayOfMonth))
        .Bind(6, static_cast<std::int64_t>(p.monthOfYear))
        .Bind(7, static_cast<std::int64_t>(p.instance))
        .Bind(8, DayText(p.patternStartDay))
        .Bind(9, static_cast<std::int64_t>(p.startMinute))
        .Bind(10, static_cast<std::int64_t>(p.durationMinutes))
        .Bind(11, static_cast<std::int64_t>(p.end))
        .Bind(12, p.end == RecurrenceEnd::ByDate ? DayText(p.patternEndDay) : std::string())
        .Bind(13,
              static_cast<std::int64_t>(p.end == RecurrenceEnd::ByCount ? p.occurrenceCount : 0))
        // The pattern's times are wall-clock times of the zone the series is made in: the
        // pattern's own, or the writing process's.
        .Bind(14, p.timeZone.empty() ? ProcessTimeZone() : p.timeZone)
        .Run();
    for (std::size_t i = 0; i < p.exceptions.size(); ++i) {
        const auto& e = p.exceptions[i];
        auto& st = impl_->db.Prepare(
            "INSERT INTO exceptions(item_id, original_date, deleted, exception_item_id, "
            "start_local, end_local) VALUES(?, ?, ?, ?, ?, ?)");
        st.Bind(1, item)
            .Bind(2, DayText(e.originalDay))
            .Bind(3, static_cast<std::int64_t>(e.deleted));
        if (exceptionRows[i] < 0)
            st.BindNull(4);
        else
            st.Bind(4, exceptionRows[i]);
        if (e.deleted)
            st.BindNull(5).BindNull(6);
        else
            st.Bind(5, LocalText(e.start)).Bind(6, LocalText(e.end));
        st.Run();
    }
    // Writing the pattern made the triggers forget the series' reach: it is known again now.
    if (impl_->seriesReach)
        detail::WriteReach(impl_->db, item, detail::ReachOf(p));
    tx.Commit();
}

namespace {

// The pattern's columns; a file that cannot record the series' zone gives none.
std::string PatternColumns(bool zones)
{
    return std::string("r.type, r.interval, r.day_of_week_mask, r.day_of_month, r.month_of_year, "
                       "r.instance, r.start_date, r.start_minute, r.duration, r.end_kind, "
                       "r.end_date, r.occurrences, ") +
           (zones ? "r.time_zone" : "NULL");
}
constexpr const char* kExceptionColumns =
    "e.original_date, e.deleted, e.exception_item_id, e.start_local, e.end_local";

// A pattern from PatternColumns starting at column `at`.
RecurrencePattern PatternFromRow(const detail::Statement& st, int at)
{
    RecurrencePattern p;
    p.type = static_cast<RecurrenceType>(st.Int(at));
    p.interval = static_cast<int>(st.Int(at + 1));
    p.dayOfWeekMask = static_cast<int>(st.Int(at + 2));
    p.dayOfMonth = static_cast<int>(st.Int(at + 3));
    p.monthOfYear = static_cast<int>(st.Int(at + 4));
    p.instance = static_cast<int>(st.Int(at + 5));
    p.patternStartDay = ParseDay(st.Text(at + 6));
    p.startMinute = static_cast<std::int32_t>(st.Int(at + 7));
    p.durationMinutes = static_cast<std::int32_t>(st.Int(at + 8));
    p.end = static_cast<RecurrenceEnd>(st.Int(at + 9));
    if (p.end == RecurrenceEnd::ByDate)
        p.patternEndDay = ParseDay(st.Text(at + 10));
    p.occurrenceCount = static_cast<int>(st.Int(at + 11));
    if (!st.IsNull(at + 12))
        p.timeZone = st.Text(at + 12);
    return p;
}

// An exception from kExceptionColumns starting at column `at`.
template <typename MakeItemId>
RecurrenceException ExceptionFromRow(const MakeItemId& itemId, const detail::Statement& st, int at)
{
    RecurrenceException e;
    e.originalDay = ParseDay(st.Text(at));
    e.deleted = st.Int(at + 1) != 0;
    if (!st.IsNull(at + 2))
        e.itemEntryId = itemId(st.Int(at + 2));
    if (!e.deleted) {
        e.start = ParseLocal(st.Text(at + 3));
        e.end = ParseLocal(st.Text(at + 4));
    }
    return e;
}

} // namespace

std::optional<RecurrencePattern> Store::GetRecurrence(std::string_view itemEntryId) const
{
    detail::ReadScope scope(impl_->db);
    const auto item = impl_->ItemRow(itemEntryId);
    const auto itemId = [&](std::int64_t row) { return impl_->MakeEntryId(ObjectKind::Item, row); };
    RecurrencePattern p;
    {
        auto& st = impl_->db.Prepare("SELECT " + PatternColumns(impl_->seriesZones) +
                                     " FROM recurrence r WHERE r.item_id = ?");
        if (!st.Bind(1, item).Step())
            return std::nullopt;
        p = PatternFromRow(st, 0);
        st.Reset();
    }
    auto& st = impl_->db.Prepare(std::string("SELECT ") + kExceptionColumns +
                                 " FROM exceptions e WHERE e.item_id = ? ORDER BY e.original_date");
    st.Bind(1, item);
    while (st.Step())
        p.exceptions.push_back(ExceptionFromRow(itemId, st, 0));
    return p;
}

namespace {

// Collects the patterns of a statement that selects a series' row id, PatternColumns and
// kExceptionColumns, one row per exception (or one without any), ordered by series.
template <typename MakeItemId>
void CollectPatterns(detail::Statement& st, const MakeItemId& itemId,
                     std::unordered_map<std::string, RecurrencePattern>& out)
{
    constexpr int kException = 14; // the first exception column
    RecurrencePattern* current = nullptr;
    std::int64_t currentRow = 0;
    while (st.Step()) {
        const auto row = st.Int(0);
        if (current == nullptr || row != currentRow) {
            current = &out.emplace(itemId(row), PatternFromRow(st, 1)).first->second;
            currentRow = row;
        }
        if (!st.IsNull(kException))
            current->exceptions.push_back(ExceptionFromRow(itemId, st, kException));
    }
}

} // namespace

std::unordered_map<std::string, RecurrencePattern>
Store::FolderRecurrences(std::string_view folderEntryId) const
{
    detail::ReadScope scope(impl_->db);
    const auto folder = impl_->FolderRow(folderEntryId);
    const auto itemId = [&](std::int64_t row) { return impl_->MakeEntryId(ObjectKind::Item, row); };
    std::unordered_map<std::string, RecurrencePattern> out;
    // The store's series drive the join: a folder holds far more single items than series,
    // and walking its item index would make the read grow with the folder. Each series comes
    // with its exceptions in the same pass (one row per exception, or one without any).
    auto& st = impl_->db.Prepare(
        "SELECT r.item_id, " + PatternColumns(impl_->seriesZones) + ", " + kExceptionColumns +
        " FROM recurrence r CROSS JOIN items i ON i.id = r.item_id LEFT JOIN exceptions e ON "
        "e.item_id = r.item_id WHERE i.folder_id = ? AND i.kind = 0 ORDER BY r.item_id, "
        "e.original_date");
    st.Bind(1, folder);
    CollectPatterns(st, itemId, out);
    return out;
}

std::unordered_map<std::string, RecurrencePattern>
Store::Recurrences(std::string_view folderEntryId, std::span<const std::string> itemEntryIds) const
{
    detail::ReadScope scope(impl_->db);
    const auto rows = impl_->ItemRows(itemEntryIds);
    if (impl_->seriesReach) {
        // A folder of fewer series than items given is read whole: the walk of its series
        // costs less than a look-up per item. Counting stops at the items' number.
        auto& count = impl_->db.Prepare(
            "SELECT COUNT(*) FROM (SELECT 1 FROM items INDEXED BY items_reach WHERE folder_id = "
            "?1 AND kind = 0 AND reach_end IS NOT NULL LIMIT ?2)");
        count.Bind(1, impl_->FolderRow(folderEntryId))
            .Bind(2, static_cast<std::int64_t>(rows.size()))
            .Step();
        const auto series = count.Int(0);
        count.Reset();
        if (series < static_cast<std::int64_t>(rows.size()))
            return FolderRecurrences(folderEntryId);
    }
    const auto itemId = [&](std::int64_t row) { return impl_->MakeEntryId(ObjectKind::Item, row); };
    std::unordered_map<std::string, RecurrencePattern> out;
    // The given rows drive the join, so the read follows them and not the store's series.
    auto& st = impl_->db.Prepare(
        "SELECT r.item_id, " + PatternColumns(impl_->seriesZones) + ", " + kExceptionColumns +
        " FROM json_each(?1) j CROSS JOIN recurrence r ON r.item_id = j.value LEFT JOIN "
        "exceptions e ON e.item_id = r.item_id ORDER BY r.item_id, e.original_date");
    st.Bind(1, IdList(rows));
    CollectPatterns(st, itemId, out);
    return out;
}

void Store::Impl::KeepSeriesReach()
{
    // The reach index holds the hot columns: a file without them reads every series.
    seriesReach = windowIndexes && detail::KeepSeriesReach(
                                       db, [&] { FillSeriesReach(); },
                                       [&] { return ReachesAgree(); });
}

namespace {

// Every series' pattern with its exceptions, by its row id.
std::unordered_map<std::int64_t, RecurrencePattern> StoredPatterns(detail::Database& db,
                                                                   bool seriesZones)
{
    std::unordered_map<std::string, RecurrencePattern> byText;
    const auto itemId = [](std::int64_t row) { return std::to_string(row); };
    auto& st = db.Prepare("SELECT r.item_id, " + PatternColumns(seriesZones) + ", " +
                          kExceptionColumns +
                          " FROM recurrence r LEFT JOIN exceptions e ON e.item_id = "
                          "r.item_id ORDER BY r.item_id, e.original_date");
    CollectPatterns(st, itemId, byText);
    std::unordered_map<std::int64_t, RecurrencePattern> out;
    for (auto& [row, pattern] : byText)
        out.emplace(std::stoll(row), std::move(pattern));
    return out;
}

} // namespace

void Store::Impl::FillSeriesReach()
{
    for (const auto& [row, pattern] : StoredPatterns(db, seriesZones))
        detail::WriteReach(db, row, detail::ReachOf(pattern));
}

std::optional<bool> Store::Impl::ReachesAgree()
{
    // A pattern whose text cannot be read has no reach to compare, and no fill can write one.
    std::unordered_map<std::int64_t, RecurrencePattern> patterns;
    try {
        patterns = StoredPatterns(db, seriesZones);
    } catch (const StoreError&) {
        return std::nullopt;
    }
    auto& st = db.Prepare("SELECT r.item_id, i.reach_start, i.reach_end FROM recurrence r "
                          "CROSS JOIN items i ON i.id = r.item_id");
    while (st.Step()) {
        const auto at = patterns.find(st.Int(0));
        if (at == patterns.end())
            continue; // a pattern of no item is never read
        if (st.ColumnType(1) != SQLITE_INTEGER || st.ColumnType(2) != SQLITE_INTEGER ||
            !detail::KeptReachHolds({st.Int(1), st.Int(2)}, detail::ReachOf(at->second))) {
            st.Reset();
            return false;
        }
    }
    return true;
}

std::vector<ItemInfo> Store::FolderExceptionItems(std::string_view folderEntryId) const
{
    detail::ReadScope scope(impl_->db);
    const auto folder = impl_->FolderRow(folderEntryId);
    std::vector<ItemInfo> out;
    auto& st = impl_->db.Prepare("SELECT i.id, i.folder_id, i.message_class, i.kind, i.owner_id "
                                 "FROM items i WHERE i.folder_id = ? AND i.kind = 1 ORDER BY i.id");
    st.Bind(1, folder);
    while (st.Step())
        out.push_back(impl_->ItemFromRow(st));
    return out;
}

void Store::ClearRecurrence(std::string_view itemEntryId)
{
    const auto item = impl_->ItemRow(itemEntryId);
    auto tx = BeginTransaction();
    std::vector<std::int64_t> rows;
    {
        auto& st = impl_->db.Prepare("SELECT id FROM items WHERE owner_id = ? AND kind = 1");
        st.Bind(1, item);
        while (st.Step())
            rows.push_back(st.Int(0));
    }
    for (const auto row : rows)
        impl_->DeleteItemRow(row);
    impl_->db.Prepare("DELETE FROM exceptions WHERE item_id = ?").Bind(1, item).Run();
    impl_->db.Prepare("DELETE FROM recurrence WHERE item_id = ?").Bind(1, item).Run();
    tx.Commit();
}

} // namespace platform::store
