#include "platform/store/detail/HotColumns.h"

#include "platform/store/KnownProperties.h"
#include "platform/store/StoreError.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>

namespace platform::store::detail {

namespace {

namespace kp = platform::store::props;

constexpr HotProperty kHot[] = {
    {{}, 0x0037001E, 0}, // subject
    {PSETID_Appointment, kp::LID_AppointmentStart, PT_SYSTIME},
    {PSETID_Appointment, kp::LID_AppointmentEnd, PT_SYSTIME},
    {PSETID_Appointment, kp::LID_AppointmentDuration, PT_LONG},
    {PSETID_Appointment, kp::LID_Recurring, PT_BOOLEAN},
    {PSETID_Appointment, kp::LID_AllDayEvent, PT_BOOLEAN},
    {PSETID_Appointment, kp::LID_ClipStart, PT_SYSTIME},
    {PSETID_Appointment, kp::LID_ClipEnd, PT_SYSTIME},
    {PSETID_Common, kp::LID_CommonStart, PT_SYSTIME},
    {PSETID_Common, kp::LID_CommonEnd, PT_SYSTIME},
    {PSETID_Task, kp::LID_TaskStartDate, PT_SYSTIME},
    {PSETID_Task, kp::LID_TaskDueDate, PT_SYSTIME},
    {PSETID_Log, kp::LID_LogStart, PT_SYSTIME},
    {PSETID_Log, kp::LID_LogEnd, PT_SYSTIME},
    {{}, 0x0E060040, 0}, // delivery time
    {{}, 0x30070040, 0}, // creation time
};
constexpr int kSlots = static_cast<int>(std::size(kHot));

std::string Column(int slot)
{
    return "h" + std::to_string(slot);
}

// "(h0, h1, ...) = (SELECT iif(slot = 0, <value>, items.h0), ... FROM hot_tags WHERE tag = <tag>)"
std::string SetSlot(const char* value, const char* tag)
{
    std::string columns;
    std::string values;
    for (int k = 0; k < kSlots; ++k) {
        const auto c = Column(k);
        columns += (k ? ", " : "") + c;
        values += std::string(k ? ", " : "") + "iif(slot = " + std::to_string(k) + ", " + value +
                  ", items." + c + ")";
    }
    return "UPDATE items SET (" + columns + ") = (SELECT " + values +
           " FROM hot_tags WHERE tag = " + tag + ")";
}

// The triggers keep the columns in the writing transaction, whichever program writes: a
// rollback, an older program or the sqlite3 command leave them right.
std::string TriggerSchema()
{
    const std::string isHot = " IN (SELECT tag FROM hot_tags)";
    return "CREATE TRIGGER props_hot_insert AFTER INSERT ON props WHEN new.tag" + isHot +
           " BEGIN " + SetSlot("new.value", "new.tag") + " WHERE id = new.item_id; END;" +
           "CREATE TRIGGER props_hot_delete AFTER DELETE ON props WHEN old.tag" + isHot +
           " BEGIN " + SetSlot("NULL", "old.tag") + " WHERE id = old.item_id; END;" +
           "CREATE TRIGGER props_hot_update AFTER UPDATE ON props WHEN old.tag" + isHot +
           " OR new.tag" + isHot + " BEGIN " + SetSlot("NULL", "old.tag") +
           " WHERE id = old.item_id AND old.tag" + isHot + "; " + SetSlot("new.value", "new.tag") +
           " WHERE id = new.item_id AND new.tag" + isHot + "; END;";
}

int SlotOfName(const NamedProperty& name)
{
    const auto* lid = std::get_if<std::uint32_t>(&name.id);
    if (lid == nullptr)
        return -1;
    for (int k = 0; k < kSlots; ++k)
        if (!kHot[k].propertySet.empty() && kHot[k].propertySet == name.propertySet &&
            kHot[k].id == *lid)
            return k;
    return -1;
}

int KeptSlots(Database& db)
{
    auto& st = db.Prepare("SELECT value FROM meta WHERE key = 'hot_columns'");
    const int kept = st.Step() ? static_cast<int>(std::stoi(st.Text(0))) : 0;
    st.Reset();
    return kept;
}


// Registers every hot property the file has a tag for, without filling the columns.
void RegisterAll(Database& db)
{
    auto& insert = db.Prepare("INSERT OR IGNORE INTO hot_tags(tag, slot) VALUES(?, ?)");
    for (int k = 0; k < kSlots; ++k)
        if (kHot[k].propertySet.empty())
            insert.Bind(1, static_cast<std::int64_t>(kHot[k].id)).Bind(2, std::int64_t{k}).Run();
    std::vector<std::pair<std::int64_t, int>> named;
    {
        auto& st = db.Prepare("SELECT id, guid, lid FROM named_props WHERE lid IS NOT NULL");
        while (st.Step()) {
            const int k = SlotOfName(NamedProperty::Lid(st.Text(1), st.Int(2)));
            if (k >= 0)
                named.emplace_back(st.Int(0), k);
        }
    }
    for (const auto& [id, k] : named)
        insert.Bind(1, static_cast<std::int64_t>(MakeTag(static_cast<std::uint16_t>(id), kHot[k].type)))
            .Bind(2, std::int64_t{k})
            .Run();
}

// Fills every column from `props` in one pass over the items.
void FillAll(Database& db)
{
    std::string columns;
    std::string values;
    for (int k = 0; k < kSlots; ++k) {
        columns += (k ? ", " : "") + Column(k);
        values += std::string(k ? ", " : "") + "max(iif(p.tag = (SELECT tag FROM hot_tags WHERE slot = " +
                  std::to_string(k) + "), p.value, NULL))";
    }
    db.Exec("UPDATE items SET (" + columns + ") = (SELECT " + values +
            " FROM props p WHERE p.item_id = items.id AND p.tag IN (SELECT tag FROM hot_tags))");
}

void Migrate(Database& db)
{
    for (int k = 0; k < kSlots; ++k)
        if (!HasColumn(db, Column(k)))
            db.Exec("ALTER TABLE items ADD COLUMN " + Column(k));
    db.Exec("CREATE TABLE IF NOT EXISTS hot_tags(tag INTEGER PRIMARY KEY, "
            "slot INTEGER NOT NULL UNIQUE)");
    db.Exec("DROP TRIGGER IF EXISTS props_hot_insert; DROP TRIGGER IF EXISTS props_hot_delete; "
            "DROP TRIGGER IF EXISTS props_hot_update");
    db.Exec(TriggerSchema());
    RegisterAll(db);
    FillAll(db);
    db.Prepare("INSERT OR REPLACE INTO meta(key, value) VALUES('hot_columns', ?)")
        .Bind(1, std::to_string(kSlots))
        .Run();
}

std::vector<PropTag> LoadTags(Database& db, int kept)
{
    std::vector<PropTag> tags(static_cast<std::size_t>(kSlots), 0);
    auto& st = db.Prepare("SELECT tag, slot FROM hot_tags WHERE slot < ?");
    st.Bind(1, std::int64_t{std::min(kept, kSlots)});
    while (st.Step())
        tags[static_cast<std::size_t>(st.Int(1))] = static_cast<PropTag>(st.Int(0));
    return tags;
}


// What the window indexes hold besides their keys: the hot columns of a calendar read
// (subject, start, end, duration, recurring and all-day flags, clip dates) and the rest of the
// item row a read returns.
constexpr const char* kWindowColumns =
    "h1, h2, h3, h4, h5, h6, h7, h0, message_class, owner_id";


} // namespace

void Atomically(Database& db, const std::function<void()>& work)
{
    db.Exec("BEGIN IMMEDIATE");
    try {
        work();
        db.Exec("COMMIT");
    } catch (const StoreError&) {
        db.Exec("ROLLBACK");
        throw;
    }
}

bool HasColumn(Database& db, const std::string& column)
{
    auto& st = db.Prepare("SELECT 1 FROM pragma_table_info('items') WHERE name = ?");
    const bool has = st.Bind(1, column).Step();
    st.Reset();
    return has;
}

bool HasIndex(Database& db, const char* name)
{
    auto& st = db.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?");
    const bool has = st.Bind(1, std::string_view(name)).Step();
    st.Reset();
    return has;
}

bool KeepWindowIndexes(Database& db)
{
    if (HasIndex(db, "items_start") && HasIndex(db, "items_series"))
        return true;
    try {
        Atomically(db, [&] {
            db.Exec(std::string("CREATE INDEX IF NOT EXISTS items_start ON items(folder_id, kind, ") +
                    kWindowColumns + ")");
            db.Exec(std::string("CREATE INDEX IF NOT EXISTS items_series ON items(folder_id, kind, ") +
                    kWindowColumns + ") WHERE h4 = 1");
        });
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

std::span<const HotProperty> HotProperties()
{
    return kHot;
}

std::vector<PropTag> KeepHotColumns(Database& db)
{
    int kept = KeptSlots(db);
    try {
        if (kept != kSlots) {
            Atomically(db, [&] { Migrate(db); });
            kept = kSlots;
        } else {
            // An older program may have mapped hot names since: they start being kept now.
            auto tags = LoadTags(db, kept);
            std::vector<std::pair<std::uint16_t, NamedProperty>> missing;
            auto& st = db.Prepare("SELECT id, guid, lid FROM named_props WHERE lid IS NOT NULL");
            while (st.Step()) {
                auto name = NamedProperty::Lid(st.Text(1), st.Int(2));
                const int k = SlotOfName(name);
                if (k >= 0 && tags[static_cast<std::size_t>(k)] == 0)
                    missing.emplace_back(static_cast<std::uint16_t>(st.Int(0)), std::move(name));
            }
            if (!missing.empty())
                Atomically(db, [&] {
                    for (const auto& [id, name] : missing)
                        RegisterHotName(db, id, name);
                });
        }
    } catch (const StoreError&) {
        // A read-only file: reads use what it keeps already, and `props` for the rest.
    }
    if (kept == 0)
        return {};
    return LoadTags(db, kept);
}

int RegisterHotName(Database& db, std::uint16_t id, const NamedProperty& name)
{
    const int k = SlotOfName(name);
    if (k < 0)
        return -1;
    const auto tag = static_cast<std::int64_t>(MakeTag(id, kHot[k].type));
    db.Prepare("INSERT OR IGNORE INTO hot_tags(tag, slot) VALUES(?, ?)")
        .Bind(1, tag)
        .Bind(2, std::int64_t{k})
        .Run();
    if (db.Changes() == 0)
        return -1;
    // Values stored under the id before it was named (a raw tag) join the column too.
    db.Prepare("UPDATE items SET " + Column(k) +
               " = p.value FROM props p WHERE p.item_id = items.id AND p.tag = ?")
        .Bind(1, tag)
        .Run();
    return k;
}

} // namespace platform::store::detail
