#include "platform/store/detail/SeriesReach.h"

#include "platform/store/StoreError.h"
#include "platform/store/detail/HotColumns.h"

#include <algorithm>
#include <string>

namespace platform::store::detail {

namespace {

// Local times become UTC through the zone's rules; two days cover any offset and change.
constexpr std::int64_t kSlack = 2 * kSecondsPerDay;

// Whenever a program changes a pattern or an exception, the series' reach becomes unknown
// (the widest): reads take the series until this program computes it again. A series without
// a pattern has none. The triggers name no kept column, so that those can change apart.
constexpr const char* kReachTriggers = R"sql(
CREATE TRIGGER IF NOT EXISTS recurrence_reach_insert AFTER INSERT ON recurrence BEGIN
  UPDATE items SET reach_start = -9223372036854775808, reach_end = 9223372036854775807
  WHERE id = new.item_id; END;
CREATE TRIGGER IF NOT EXISTS recurrence_reach_update AFTER UPDATE ON recurrence BEGIN
  UPDATE items SET reach_start = NULL, reach_end = NULL WHERE id = old.item_id;
  UPDATE items SET reach_start = -9223372036854775808, reach_end = 9223372036854775807
  WHERE id = new.item_id; END;
CREATE TRIGGER IF NOT EXISTS recurrence_reach_delete AFTER DELETE ON recurrence BEGIN
  UPDATE items SET reach_start = NULL, reach_end = NULL WHERE id = old.item_id; END;
CREATE TRIGGER IF NOT EXISTS exceptions_reach_insert AFTER INSERT ON exceptions BEGIN
  UPDATE items SET reach_start = -9223372036854775808, reach_end = 9223372036854775807
  WHERE id = new.item_id AND reach_end IS NOT NULL; END;
CREATE TRIGGER IF NOT EXISTS exceptions_reach_update AFTER UPDATE ON exceptions BEGIN
  UPDATE items SET reach_start = -9223372036854775808, reach_end = 9223372036854775807
  WHERE id IN (old.item_id, new.item_id) AND reach_end IS NOT NULL; END;
CREATE TRIGGER IF NOT EXISTS exceptions_reach_delete AFTER DELETE ON exceptions BEGIN
  UPDATE items SET reach_start = -9223372036854775808, reach_end = 9223372036854775807
  WHERE id = old.item_id AND reach_end IS NOT NULL; END;
)sql";

// The items with a pattern, by folder and reach.
constexpr const char* kReachIndex =
    "CREATE INDEX IF NOT EXISTS items_reach ON items(folder_id, kind, reach_end, reach_start) "
    "WHERE reach_end IS NOT NULL";

bool Kept(Database& db)
{
    auto& st = db.Prepare("SELECT value FROM meta WHERE key = 'series_reach'");
    const bool kept = st.Step() && st.Text(0) == "1";
    st.Reset();
    return kept && HasIndex(db, "items_reach");
}

} // namespace

std::optional<SeriesReach> ReachOf(const RecurrencePattern& pattern)
{
    try {
        pattern.Validate();
    } catch (const StoreError&) {
        return std::nullopt;
    }
    // Occurrences lie on or after the pattern's first day; the last ends its duration after
    // its start on the last day.
    LocalTime first = pattern.PatternStartDate();
    std::optional<LocalTime> last;
    if (pattern.end != RecurrenceEnd::Never) {
        const auto day = pattern.LastDay().value_or(pattern.patternStartDay);
        last = LocalTime{StartOfDay(day).seconds +
                         (std::int64_t{pattern.startMinute} + pattern.durationMinutes) * 60};
    }
    for (const auto& e : pattern.exceptions) {
        if (e.deleted)
            continue;
        first = std::min(first, e.start);
        if (last)
            last = std::max(*last, e.end);
    }
    SeriesReach reach;
    reach.first = LocalToUtc(first).seconds - kSlack;
    reach.last = last ? LocalToUtc(*last).seconds + kSlack : kEndless;
    return reach;
}

void WriteReach(Database& db, std::int64_t item, const std::optional<SeriesReach>& reach)
{
    const auto known = reach.value_or(kUnknownReach);
    db.Prepare("UPDATE items SET reach_start = ?1, reach_end = ?2 WHERE id = ?3")
        .Bind(1, known.first)
        .Bind(2, known.last)
        .Bind(3, item)
        .Run();
}

bool KeepSeriesReach(Database& db, const std::function<void()>& fill)
{
    if (Kept(db))
        return true;
    try {
        Atomically(db, [&] {
            for (const char* column : {"reach_start", "reach_end"})
                if (!HasColumn(db, column))
                    db.Exec(std::string("ALTER TABLE items ADD COLUMN ") + column + " INTEGER");
            db.Exec(kReachTriggers);
            fill();
            db.Exec(kReachIndex);
            db.Prepare("INSERT OR REPLACE INTO meta(key, value) VALUES('series_reach', '1')").Run();
        });
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

} // namespace platform::store::detail
