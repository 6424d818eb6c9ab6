#include "platform/store/Store.h"

#include "platform/store/StoreError.h"
#include "platform/store/detail/HotColumns.h"
#include "platform/store/detail/StoreImpl.h"
#include "platform/store/detail/ValueCodec.h"

#include <random>

namespace platform::store {

const char* const kStoreSchema = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE store_props(tag INTEGER PRIMARY KEY, value);
CREATE TABLE named_props(id INTEGER PRIMARY KEY, guid TEXT NOT NULL, lid INTEGER, name TEXT,
                         CHECK ((lid IS NULL) <> (name IS NULL)));
CREATE UNIQUE INDEX named_props_lid ON named_props(guid, lid) WHERE lid IS NOT NULL;
CREATE UNIQUE INDEX named_props_name ON named_props(guid, name) WHERE name IS NOT NULL;
CREATE TABLE folders(id INTEGER PRIMARY KEY, entry_id TEXT NOT NULL UNIQUE, parent_id INTEGER,
                     name TEXT NOT NULL, item_type INTEGER NOT NULL,
                     container_class TEXT NOT NULL, role INTEGER NOT NULL DEFAULT 0);
CREATE INDEX folders_parent ON folders(parent_id, id);
CREATE TABLE user_fields(folder_id INTEGER NOT NULL, position INTEGER NOT NULL,
                         guid TEXT NOT NULL, type INTEGER NOT NULL, name TEXT NOT NULL,
                         PRIMARY KEY(folder_id, position)) WITHOUT ROWID;
CREATE TABLE items(id INTEGER PRIMARY KEY, entry_id TEXT NOT NULL UNIQUE,
                   folder_id INTEGER NOT NULL, message_class TEXT NOT NULL,
                   kind INTEGER NOT NULL DEFAULT 0, owner_id INTEGER);
CREATE INDEX items_folder ON items(folder_id, kind, id);
CREATE INDEX items_owner ON items(owner_id) WHERE owner_id IS NOT NULL;
CREATE TABLE props(item_id INTEGER NOT NULL, tag INTEGER NOT NULL, value,
                   PRIMARY KEY(item_id, tag)) WITHOUT ROWID;
CREATE INDEX props_number ON props(tag, value) WHERE typeof(value) = 'integer';
CREATE TABLE recurrence(item_id INTEGER PRIMARY KEY, type INTEGER NOT NULL,
                        interval INTEGER NOT NULL, day_of_week_mask INTEGER NOT NULL,
                        day_of_month INTEGER NOT NULL, month_of_year INTEGER NOT NULL,
                        instance INTEGER NOT NULL, start_date TEXT NOT NULL,
                        start_minute INTEGER NOT NULL, duration INTEGER NOT NULL,
                        end_kind INTEGER NOT NULL, end_date TEXT, occurrences INTEGER NOT NULL,
                        time_zone TEXT);
CREATE TABLE exceptions(item_id INTEGER NOT NULL, original_date TEXT NOT NULL,
                        deleted INTEGER NOT NULL, exception_item_id INTEGER,
                        start_local TEXT, end_local TEXT,
                        PRIMARY KEY(item_id, original_date)) WITHOUT ROWID;
CREATE TABLE attachments(item_id INTEGER NOT NULL, num INTEGER NOT NULL,
                         method INTEGER NOT NULL, file_name TEXT NOT NULL,
                         display_name TEXT NOT NULL, position INTEGER NOT NULL, data BLOB,
                         embedded_item_id INTEGER, PRIMARY KEY(item_id, num)) WITHOUT ROWID;
CREATE TABLE recipients(item_id INTEGER NOT NULL, row INTEGER NOT NULL, type INTEGER NOT NULL,
                        name TEXT NOT NULL, address TEXT NOT NULL, resolved INTEGER NOT NULL,
                        PRIMARY KEY(item_id, row)) WITHOUT ROWID;
)sql";

namespace {

// Each folder's number of ordinary items, kept by the file itself: counting them walks the
// folder's whole index, and a count is asked for on every read of a folder. Triggers keep it
// in the writing transaction, so a rollback or another process's write leaves it right.
constexpr const char* kFolderCountsSchema = R"sql(
CREATE TABLE IF NOT EXISTS folder_counts(folder_id INTEGER PRIMARY KEY, items INTEGER NOT NULL);
CREATE TRIGGER IF NOT EXISTS items_count_insert AFTER INSERT ON items WHEN new.kind = 0 BEGIN
  INSERT INTO folder_counts(folder_id, items) VALUES(new.folder_id, 1)
    ON CONFLICT(folder_id) DO UPDATE SET items = items + 1;
END;
CREATE TRIGGER IF NOT EXISTS items_count_delete AFTER DELETE ON items WHEN old.kind = 0 BEGIN
  UPDATE folder_counts SET items = items - 1 WHERE folder_id = old.folder_id;
END;
CREATE TRIGGER IF NOT EXISTS items_count_update AFTER UPDATE OF folder_id, kind ON items BEGIN
  UPDATE folder_counts SET items = items - 1 WHERE old.kind = 0 AND folder_id = old.folder_id;
  INSERT INTO folder_counts(folder_id, items) SELECT new.folder_id, 1 WHERE new.kind = 0
    ON CONFLICT(folder_id) DO UPDATE SET items = items + 1;
END;
)sql";

// Gives a file made before the series recorded their time zone the column for it; its
// series keep none (NULL) and are read as before. False where the file cannot be written.
bool KeepSeriesZones(detail::Database& db)
{
    auto& has = db.Prepare("SELECT 1 FROM pragma_table_info('recurrence') WHERE name = "
                           "'time_zone'");
    const bool kept = has.Step();
    has.Reset();
    if (kept)
        return true;
    try {
        db.Exec("ALTER TABLE recurrence ADD COLUMN time_zone TEXT");
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

// Whether the file keeps its counts and they agree with the items they count: every trigger is
// there, no count is negative or not a number, and each folder's count is its number of
// ordinary items. Another program can change the table (a count emptied, narrowed, made
// negative), and a wrong count hides rows or promises rows that are not there. Checked once
// when the store is opened: one walk of the folder index, not one per read.
bool CountsAgree(detail::Database& db)
{
    auto& triggers = db.Prepare(
        "SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' AND name IN "
        "('items_count_insert', 'items_count_delete', 'items_count_update')");
    triggers.Step();
    const bool kept = triggers.Int(0) == 3;
    triggers.Reset();
    if (!kept)
        return false;
    try {
        auto& wrong = db.Prepare(
            "SELECT 1 FROM folder_counts c WHERE typeof(c.items) <> 'integer' OR c.items <> "
            "(SELECT COUNT(*) FROM items i WHERE i.folder_id = c.folder_id AND i.kind = 0) "
            "UNION ALL SELECT 1 FROM folders f WHERE NOT EXISTS (SELECT 1 FROM folder_counts c "
            "WHERE c.folder_id = f.id) AND EXISTS (SELECT 1 FROM items i WHERE i.folder_id = "
            "f.id AND i.kind = 0) LIMIT 1");
        const bool disagree = wrong.Step();
        wrong.Reset();
        return !disagree;
    } catch (const StoreError&) {
        return false; // the table itself is gone or not what it should be
    }
}

// Gives a file made before the kept counts its counts, and counts anew those that do not agree
// with the items; false where it cannot be written (a read-only file), and the store then
// counts on every call.
bool KeepFolderCounts(detail::Database& db)
{
    if (CountsAgree(db))
        return true;
    try {
        db.Exec("BEGIN IMMEDIATE");
        try {
            db.Exec("DROP TABLE IF EXISTS folder_counts");
            db.Exec(kFolderCountsSchema);
            db.Exec("INSERT INTO folder_counts(folder_id, items) SELECT folder_id, COUNT(*) FROM "
                    "items WHERE kind = 0 GROUP BY folder_id");
            db.Exec("COMMIT");
        } catch (const StoreError&) {
            db.Exec("ROLLBACK");
            throw;
        }
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

constexpr const char* kSchemaVersion = "1";

std::string RandomUid()
{
    std::random_device rd;
    static const char* kHex = "0123456789ABCDEF";
    std::string uid;
    for (int i = 0; i < 32; ++i)
        uid += kHex[rd() % 16];
    return uid;
}

std::string CheckUid(std::string_view uid)
{
    std::string out;
    for (const char c : uid) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            break;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (out.size() != 32 || uid.size() != 32)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "store identity must be 32 hex digits: \"" + std::string(uid) + "\"");
    return out;
}

std::string_view DefaultContainerClass(ItemType type)
{
    switch (type) {
    case ItemType::Appointment:
        return "IPF.Appointment";
    case ItemType::Contact:
        return "IPF.Contact";
    case ItemType::Task:
        return "IPF.Task";
    case ItemType::Journal:
        return "IPF.Journal";
    case ItemType::Note:
        return "IPF.StickyNote";
    case ItemType::Post:
    case ItemType::Mail:
        break;
    }
    return "IPF.Note";
}

void Pragmas(detail::Database& db)
{
    // WAL with NORMAL sync: a commit costs no fsync, a crash loses at most the last commits.
    db.Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA temp_store=MEMORY;");
    // Folder reads walk 100,000 items: a larger page cache keeps them from going back to the
    // file for every page. No memory-mapped reads: the pages a walk of a large store touches
    // would stay mapped into the process (a quarter of a gigabyte for a million items) and
    // reads through the page cache are as fast.
    db.Exec("PRAGMA cache_size=-32768; PRAGMA mmap_size=0;");
}

const char* const kFolderColumns =
    "SELECT f.id, f.parent_id, f.name, f.item_type, f.container_class, f.role FROM folders f ";

} // namespace

// --- Impl helpers -----------------------------------------------------------------------------

std::string Store::Impl::MakeEntryId(ObjectKind kind, std::int64_t row) const
{
    static const char* kHex = "0123456789ABCDEF";
    // Written in place: reads make one of these for every row they return.
    std::string id(entryId.size() + 18, '0');
    std::copy(entryId.begin(), entryId.end(), id.begin());
    auto* at = id.data() + entryId.size();
    at[1] = kind == ObjectKind::Folder ? '1' : '2';
    for (int k = 0; k < 16; ++k)
        at[2 + k] = kHex[(static_cast<std::uint64_t>(row) >> (60 - 4 * k)) & 15];
    return id;
}

std::int64_t Store::Impl::RowOf(std::string_view id, ObjectKind kind) const
{
    const auto notFound = [&] {
        return StoreError(StoreErrorKind::NotFound,
                          std::string(kind == ObjectKind::Folder ? "folder" : "item") +
                              " not in store \"" + name + "\": " + std::string(id));
    };
    if (id.size() != entryId.size() + 18)
        throw notFound();
    for (std::size_t i = 0; i < entryId.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(id[i])) != entryId[i])
            throw notFound();
    if (id.substr(entryId.size(), 2) != (kind == ObjectKind::Folder ? "01" : "02"))
        throw notFound();
    std::uint64_t row = 0;
    for (const char c : id.substr(entryId.size() + 2)) {
        const int v = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : (std::isxdigit(static_cast<unsigned char>(c))
                                 ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                                 : -1);
        if (v < 0)
            throw notFound();
        row = row << 4 | static_cast<std::uint64_t>(v);
    }
    return static_cast<std::int64_t>(row);
}

std::int64_t Store::Impl::FolderRow(std::string_view id)
{
    const auto row = RowOf(id, ObjectKind::Folder);
    auto& st = db.Prepare("SELECT 1 FROM folders WHERE id = ?");
    if (!st.Bind(1, row).Step())
        throw StoreError(StoreErrorKind::NotFound, "no such folder: " + std::string(id));
    st.Reset();
    return row;
}

std::int64_t Store::Impl::ItemRow(std::string_view id)
{
    const auto row = RowOf(id, ObjectKind::Item);
    auto& st = db.Prepare("SELECT 1 FROM items WHERE id = ?");
    if (!st.Bind(1, row).Step())
        throw StoreError(StoreErrorKind::NotFound, "no such item: " + std::string(id));
    st.Reset();
    return row;
}

int Store::Impl::HotSlot(PropTag tag) const
{
    for (std::size_t k = 0; k < hotTags.size(); ++k)
        if (hotTags[k] == tag && tag != 0)
            return static_cast<int>(k);
    return -1;
}

ItemInfo Store::Impl::ItemFromRow(const detail::Statement& st) const
{
    ItemInfo info;
    info.entryId = MakeEntryId(ObjectKind::Item, st.Int(0));
    // The rows of a read come from one folder: its entry id is made once.
    const auto folder = st.Int(1);
    if (folder != lastFolder.first)
        lastFolder = {folder, MakeEntryId(ObjectKind::Folder, folder)};
    info.folderEntryId = lastFolder.second;
    info.messageClass = st.Text(2);
    info.kind = static_cast<ItemKind>(st.Int(3));
    if (!st.IsNull(4))
        info.ownerEntryId = MakeEntryId(ObjectKind::Item, st.Int(4));
    return info;
}

FolderInfo Store::Impl::FolderFromRow(const detail::Statement& st) const
{
    FolderInfo info;
    info.entryId = MakeEntryId(ObjectKind::Folder, st.Int(0));
    if (!st.IsNull(1))
        info.parentEntryId = MakeEntryId(ObjectKind::Folder, st.Int(1));
    info.name = st.Text(2);
    info.defaultItemType = static_cast<ItemType>(st.Int(3));
    info.containerClass = st.Text(4);
    info.role = static_cast<FolderRole>(st.Int(5));
    return info;
}

void Store::Impl::SetMeta(std::string_view key, std::string_view value)
{
    db.Prepare("INSERT OR REPLACE INTO meta(key, value) VALUES(?, ?)")
        .Bind(1, key)
        .Bind(2, value)
        .Run();
    if (key == "name")
        name = std::string(value);
}

std::string Store::Impl::Meta(std::string_view key)
{
    auto& st = db.Prepare("SELECT value FROM meta WHERE key = ?");
    if (!st.Bind(1, key).Step())
        throw StoreError(StoreErrorKind::Database,
                         "not a store file (no " + std::string(key) + "): " + path.string(),
                         StoreFailure::Damaged);
    auto value = st.Text(0);
    st.Reset();
    return value;
}

Binary HexToBinary(std::string_view hex)
{
    // Entry ids are made by this store, so every character is a hex digit.
    const auto nibble = [](char c) {
        return static_cast<std::uint8_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    };
    Binary out;
    out.bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.bytes.push_back(static_cast<std::uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
    return out;
}

void CheckValueFits(PropTag tag, const PropValue& value)
{
    const auto type = PropTypeOf(tag);
    if (type == PT_OBJECT || !FitsType(value, type))
        throw StoreError(
            StoreErrorKind::InvalidArgument,
            "value of type " + std::to_string(NaturalType(value)) + " does not fit tag 0x" + [&] {
                char buf[9];
                std::snprintf(buf, sizeof buf, "%08X", tag);
                return std::string(buf);
            }());
}

// --- creation -----------------------------------------------------------------------------

Store::Store(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Store::~Store() = default;

std::unique_ptr<Store> Store::Create(const std::filesystem::path& file, std::string_view name,
                                     StoreKind kind, std::string_view uid)
{
    std::error_code ec;
    if (std::filesystem::exists(file, ec))
        throw StoreError(StoreErrorKind::AlreadyExists,
                         "store file exists already: " + file.string());
    const std::string id = uid.empty() ? RandomUid() : CheckUid(uid);
    auto impl = std::make_unique<Impl>(file, true);
    Pragmas(impl->db);
    impl->uid = id;
    impl->entryId = "00000000" + id;
    impl->db.Exec("BEGIN");
    impl->db.Exec(kStoreSchema);
    impl->db.Exec(kFolderCountsSchema);
    impl->keptCounts = true;
    impl->seriesZones = true;
    impl->SetMeta("schema_version", kSchemaVersion);
    impl->SetMeta("uid", id);
    impl->SetMeta("name", name);
    impl->SetMeta("kind", std::to_string(static_cast<int>(kind)));
    impl->db
        .Prepare("INSERT INTO folders(id, entry_id, parent_id, name, item_type, container_class) "
                 "VALUES(1, ?, NULL, ?, 0, 'IPF.Note')")
        .Bind(1, impl->MakeEntryId(ObjectKind::Folder, 1))
        .Bind(2, name)
        .Run();
    impl->db.Exec("COMMIT");
    impl->hotTags = detail::KeepHotColumns(impl->db);
    impl->windowIndexes = detail::KeepWindowIndexes(impl->db);
    impl->KeepSeriesReach();
    return std::unique_ptr<Store>(new Store(std::move(impl)));
}

std::unique_ptr<Store> Store::Open(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw StoreError(StoreErrorKind::NotFound, "no store file: " + file.string());
    auto impl = std::make_unique<Impl>(file, false);
    Pragmas(impl->db);
    if (impl->Meta("schema_version") != kSchemaVersion)
        throw StoreError(StoreErrorKind::Database,
                         "unknown store schema version in " + file.string(), StoreFailure::Damaged);
    // Files made before the value index get it on first open (a read-only file goes on
    // without it: reads are then slower, not wrong).
    try {
        impl->db.Exec("CREATE INDEX IF NOT EXISTS props_number ON props(tag, value) "
                      "WHERE typeof(value) = 'integer'");
    } catch (const StoreError&) {
    }
    impl->keptCounts = KeepFolderCounts(impl->db);
    impl->seriesZones = KeepSeriesZones(impl->db);
    impl->hotTags = detail::KeepHotColumns(impl->db);
    impl->windowIndexes = !impl->hotTags.empty() && detail::KeepWindowIndexes(impl->db);
    impl->KeepSeriesReach();
    impl->uid = CheckUid(impl->Meta("uid"));
    impl->entryId = "00000000" + impl->uid;
    impl->name = impl->Meta("name");
    return std::unique_ptr<Store>(new Store(std::move(impl)));
}

// --- the store itself -----------------------------------------------------------------------

const std::string& Store::EntryId() const
{
    return impl_->entryId;
}
std::string Store::Name() const
{
    // Read again: a store stays open across sessions, and another may have renamed it.
    impl_->name = impl_->Meta("name");
    return impl_->name;
}
void Store::SetName(std::string_view name)
{
    impl_->SetMeta("name", name);
}
StoreKind Store::Kind() const
{
    return static_cast<StoreKind>(std::stoi(impl_->Meta("kind")));
}
const std::filesystem::path& Store::File() const
{
    return impl_->path;
}

FolderInfo Store::RootFolder() const
{
    auto& st = impl_->db.Prepare(std::string(kFolderColumns) +
                                 "WHERE f.parent_id IS NULL ORDER BY f.id LIMIT 1");
    if (!st.Step())
        throw StoreError(StoreErrorKind::Database,
                         "store without root folder: " + impl_->path.string(),
                         StoreFailure::Damaged);
    auto info = impl_->FolderFromRow(st);
    st.Reset();
    return info;
}

std::optional<PropValue> Store::GetProperty(PropTag tag) const
{
    tag = NormalizeTag(tag);
    auto& st = impl_->db.Prepare("SELECT value FROM store_props WHERE tag = ?");
    if (!st.Bind(1, static_cast<std::int64_t>(tag)).Step())
        return std::nullopt;
    auto value = detail::ReadValue(st, 0, PropTypeOf(tag));
    st.Reset();
    return value;
}

void Store::SetProperty(PropTag tag, const PropValue& value)
{
    tag = NormalizeTag(tag);
    CheckValueFits(tag, value);
    auto& st = impl_->db.Prepare("INSERT OR REPLACE INTO store_props(tag, value) VALUES(?, ?)");
    st.Bind(1, static_cast<std::int64_t>(tag));
    detail::BindValue(st, 2, value);
    st.Run();
}

void Store::DeleteProperty(PropTag tag)
{
    impl_->db.Prepare("DELETE FROM store_props WHERE tag = ?")
        .Bind(1, static_cast<std::int64_t>(NormalizeTag(tag)))
        .Run();
}

std::vector<std::pair<PropTag, PropValue>> Store::Properties() const
{
    std::vector<std::pair<PropTag, PropValue>> out;
    auto& st = impl_->db.Prepare("SELECT tag, value FROM store_props ORDER BY tag");
    while (st.Step()) {
        const auto tag = static_cast<PropTag>(st.Int(0));
        out.emplace_back(tag, detail::ReadValue(st, 1, PropTypeOf(tag)));
    }
    return out;
}

// --- named properties -----------------------------------------------------------------------

std::optional<std::uint16_t> Store::GetIdFromName(const NamedProperty& name) const
{
    const auto set = CanonicalGuid(name.propertySet);
    detail::Statement* st;
    if (const auto* lid = std::get_if<std::uint32_t>(&name.id)) {
        st = &impl_->db.Prepare("SELECT id FROM named_props WHERE guid = ? AND lid = ?");
        st->Bind(1, set).Bind(2, static_cast<std::int64_t>(*lid));
    } else {
        st = &impl_->db.Prepare("SELECT id FROM named_props WHERE guid = ? AND name = ?");
        st->Bind(1, set).Bind(2, std::get<std::string>(name.id));
    }
    if (!st->Step())
        return std::nullopt;
    const auto id = static_cast<std::uint16_t>(st->Int(0));
    st->Reset();
    return id;
}

std::uint16_t Store::GetOrCreateIdFromName(const NamedProperty& name)
{
    if (const auto id = GetIdFromName(name))
        return *id;
    auto& next = impl_->db.Prepare("SELECT COALESCE(MAX(id) + 1, 32768) FROM named_props");
    next.Step();
    const auto id = next.Int(0);
    next.Reset();
    if (id > 0xFFFE)
        throw StoreError(StoreErrorKind::InvalidArgument, "no named-property ids left in store");
    auto tx = BeginTransaction();
    auto& st = impl_->db.Prepare("INSERT INTO named_props(id, guid, lid, name) VALUES(?, ?, ?, ?)");
    st.Bind(1, id).Bind(2, CanonicalGuid(name.propertySet));
    if (const auto* lid = std::get_if<std::uint32_t>(&name.id))
        st.Bind(3, static_cast<std::int64_t>(*lid)).BindNull(4);
    else
        st.BindNull(3).Bind(4, std::get<std::string>(name.id));
    st.Run();
    // A file that keeps hot columns keeps this name's too when it is one of them.
    int slot = -1;
    if (!impl_->hotTags.empty())
        slot = detail::RegisterHotName(
            impl_->db, static_cast<std::uint16_t>(id),
            {CanonicalGuid(name.propertySet), name.id});
    tx.Commit();
    if (slot >= 0)
        impl_->hotTags[static_cast<std::size_t>(slot)] =
            MakeTag(static_cast<std::uint16_t>(id), detail::HotProperties()[slot].type);
    return static_cast<std::uint16_t>(id);
}

namespace {
NamedProperty NamedFromRow(const detail::Statement& st, int first)
{
    NamedProperty p;
    p.propertySet = st.Text(first);
    if (st.IsNull(first + 1))
        p.id = st.Text(first + 2);
    else
        p.id = static_cast<std::uint32_t>(st.Int(first + 1));
    return p;
}
} // namespace

std::optional<NamedProperty> Store::GetNameFromId(std::uint16_t id) const
{
    auto& st = impl_->db.Prepare("SELECT guid, lid, name FROM named_props WHERE id = ?");
    if (!st.Bind(1, static_cast<std::int64_t>(id)).Step())
        return std::nullopt;
    auto p = NamedFromRow(st, 0);
    st.Reset();
    return p;
}

std::vector<std::pair<std::uint16_t, NamedProperty>> Store::NamedProperties() const
{
    std::vector<std::pair<std::uint16_t, NamedProperty>> out;
    auto& st = impl_->db.Prepare("SELECT id, guid, lid, name FROM named_props ORDER BY id");
    while (st.Step())
        out.emplace_back(static_cast<std::uint16_t>(st.Int(0)), NamedFromRow(st, 1));
    return out;
}

// --- folders --------------------------------------------------------------------------------

FolderInfo Store::CreateFolder(std::string_view parentEntryId, std::string_view name,
                               ItemType defaultItemType, FolderRole role,
                               std::string_view containerClass)
{
    const auto parent = impl_->FolderRow(parentEntryId);
    if (name.empty())
        throw StoreError(StoreErrorKind::InvalidArgument, "folder without name");
    if (role != FolderRole::None && DefaultFolder(role))
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "store has a default folder of role " +
                             std::to_string(static_cast<int>(role)) + " already");
    auto& next = impl_->db.Prepare("SELECT COALESCE(MAX(id), 0) + 1 FROM folders");
    next.Step();
    const auto row = next.Int(0);
    next.Reset();
    const std::string cls(containerClass.empty() ? DefaultContainerClass(defaultItemType)
                                                 : containerClass);
    impl_->db
        .Prepare("INSERT INTO folders(id, entry_id, parent_id, name, item_type, container_class, "
                 "role) VALUES(?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, row)
        .Bind(2, impl_->MakeEntryId(ObjectKind::Folder, row))
        .Bind(3, parent)
        .Bind(4, name)
        .Bind(5, static_cast<std::int64_t>(defaultItemType))
        .Bind(6, cls)
        .Bind(7, static_cast<std::int64_t>(role))
        .Run();
    return GetFolder(impl_->MakeEntryId(ObjectKind::Folder, row));
}

std::optional<FolderInfo> Store::FindFolder(std::string_view entryId) const
{
    std::int64_t row;
    try {
        row = impl_->RowOf(entryId, ObjectKind::Folder);
    } catch (const StoreError&) {
        return std::nullopt;
    }
    auto& st = impl_->db.Prepare(std::string(kFolderColumns) + "WHERE f.id = ?");
    if (!st.Bind(1, row).Step())
        return std::nullopt;
    auto info = impl_->FolderFromRow(st);
    st.Reset();
    return info;
}

FolderInfo Store::GetFolder(std::string_view entryId) const
{
    if (auto f = FindFolder(entryId))
        return *f;
    throw StoreError(StoreErrorKind::NotFound, "no such folder: " + std::string(entryId));
}

std::vector<FolderInfo> Store::SubFolders(std::string_view folderEntryId) const
{
    const auto row = impl_->FolderRow(folderEntryId);
    std::vector<FolderInfo> out;
    auto& st =
        impl_->db.Prepare(std::string(kFolderColumns) + "WHERE f.parent_id = ? ORDER BY f.id");
    st.Bind(1, row);
    while (st.Step())
        out.push_back(impl_->FolderFromRow(st));
    return out;
}

std::vector<FolderInfo> Store::AllFolders() const
{
    std::vector<FolderInfo> out;
    auto& st = impl_->db.Prepare(std::string(kFolderColumns) + "ORDER BY f.id");
    while (st.Step())
        out.push_back(impl_->FolderFromRow(st));
    return out;
}

std::optional<FolderInfo> Store::DefaultFolder(FolderRole role) const
{
    if (role == FolderRole::None)
        return std::nullopt;
    auto& st =
        impl_->db.Prepare(std::string(kFolderColumns) + "WHERE f.role = ? ORDER BY f.id LIMIT 1");
    if (!st.Bind(1, static_cast<std::int64_t>(role)).Step())
        return std::nullopt;
    auto info = impl_->FolderFromRow(st);
    st.Reset();
    return info;
}

void Store::AddUserField(std::string_view folderEntryId, const UserField& field)
{
    const auto row = impl_->FolderRow(folderEntryId);
    if (field.name.empty())
        throw StoreError(StoreErrorKind::InvalidArgument, "user field without name");
    const std::string set =
        field.propertySet.empty() ? std::string() : CanonicalGuid(field.propertySet);
    impl_->db
        .Prepare("INSERT INTO user_fields(folder_id, position, guid, type, name) VALUES(?1, "
                 "(SELECT COALESCE(MAX(position), 0) + 1 FROM user_fields WHERE folder_id = ?1), "
                 "?2, ?3, ?4)")
        .Bind(1, row)
        .Bind(2, set)
        .Bind(3, static_cast<std::int64_t>(field.type))
        .Bind(4, field.name)
        .Run();
}

std::vector<UserField> Store::UserFields(std::string_view folderEntryId) const
{
    const auto row = impl_->FolderRow(folderEntryId);
    std::vector<UserField> out;
    auto& st = impl_->db.Prepare(
        "SELECT guid, type, name FROM user_fields WHERE folder_id = ? ORDER BY position");
    st.Bind(1, row);
    while (st.Step())
        out.push_back({st.Text(0), static_cast<int>(st.Int(1)), st.Text(2)});
    return out;
}

// --- transactions -----------------------------------------------------------------------------

Store::Transaction::Transaction(Store& store) : store_(&store)
{
    store.impl_->db.Exec("SAVEPOINT tv");
    ++store.impl_->transactionDepth;
}

Store::Transaction::Transaction(Transaction&& other) noexcept : store_(other.store_)
{
    other.store_ = nullptr;
}

Store::Transaction::~Transaction()
{
    if (store_ == nullptr)
        return;
    --store_->impl_->transactionDepth;
    // Rolling back cannot be reported from a destructor; a failure leaves SQLite to roll the
    // open transaction back when the connection closes.
    try {
        store_->impl_->db.Exec("ROLLBACK TO tv; RELEASE tv");
    } catch (const StoreError&) {
        return;
    }
}

void Store::Transaction::Commit()
{
    if (store_ == nullptr)
        throw StoreError(StoreErrorKind::InvalidArgument, "transaction already ended");
    store_->impl_->db.Exec("RELEASE tv");
    --store_->impl_->transactionDepth;
    store_ = nullptr;
}

Store::Transaction Store::BeginTransaction()
{
    return Transaction(*this);
}

} // namespace platform::store
