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

constexpr const char* kReachTriggerNames =
    "('recurrence_reach_insert', 'recurrence_reach_update', 'recurrence_reach_delete', "
    "'exceptions_reach_insert', 'exceptions_reach_update', 'exceptions_reach_delete')";

// Whether an item without a pattern keeps a reach: it would be read as a series. Cheap: the
// reach index holds only the items with one.
bool StrayReaches(Database& db)
{
    auto& st = db.Prepare("SELECT 1 FROM items i INDEXED BY items_reach WHERE i.reach_end IS NOT "
                          "NULL AND NOT EXISTS (SELECT 1 FROM recurrence r WHERE r.item_id = "
                          "i.id) LIMIT 1");
    const bool stray = st.Step();
    st.Reset();
    return stray;
}

bool Kept(Database& db)
{
    auto& st = db.Prepare("SELECT value FROM meta WHERE key = 'series_reach'");
    const bool kept = st.Step() && st.Text(0) == "1";
    st.Reset();
    if (!kept || !HasIndex(db, "items_reach"))
        return false;
    auto& triggers = db.Prepare(
        std::string("SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' AND name IN ") +
        kReachTriggerNames);
    triggers.Step();
    const bool triggered = triggers.Int(0) == 6;
    triggers.Reset();
    return triggered && !StrayReaches(db);
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

bool KeptReachHolds(const SeriesReach& kept, const std::optional<SeriesReach>& reach)
{
    if (!reach)
        return kept.first == kUnknownReach.first && kept.last == kUnknownReach.last;
    if (kept.first > reach->first + kSlack)
        return false;
    return reach->last == kEndless ? kept.last == kEndless : kept.last >= reach->last - kSlack;
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

bool KeepSeriesReach(Database& db, const std::function<void()>& fill,
                     const std::function<std::optional<bool>()>& agree)
{
    // A file whose tables or pages cannot be read still opens: its reads say what fails.
    try {
        if (Kept(db)) {
            const auto agreed = agree();
            if (!agreed)
                return false;
            if (*agreed)
                return true;
        }
    } catch (const StoreError&) {
        return false;
    }
    try {
        Atomically(db, [&] {
            bool kept = false;
            for (const char* column : {"reach_start", "reach_end"}) {
                if (HasColumn(db, column))
                    kept = true;
                else
                    db.Exec(std::string("ALTER TABLE items ADD COLUMN ") + column + " INTEGER");
            }
            // Reaches kept before are not trusted: every item loses its own, and the fill
            // gives each series its reach anew.
            if (kept)
                db.Exec("UPDATE items SET reach_start = NULL, reach_end = NULL WHERE "
                        "reach_start IS NOT NULL OR reach_end IS NOT NULL");
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
