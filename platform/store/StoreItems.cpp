#include "platform/store/Store.h"

#include "platform/runtime/HugeBlocks.h"
#include "platform/store/StoreError.h"
#include "platform/store/detail/HotColumns.h"
#include "platform/store/detail/StoreImpl.h"
#include "platform/store/detail/ValueCodec.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_set>

namespace platform::store {

namespace {

// Up to this many stored columns a table read lets SQLite seek each one.
constexpr std::size_t kMaxSeekColumns = 8;

constexpr const char* kItemColumns =
    "SELECT i.id, i.folder_id, i.message_class, i.kind, i.owner_id FROM items i ";

bool IsComputed(PropTag tag)
{
    return tag == kTagEntryId || tag == kTagStoreEntryId || tag == kTagMessageClass ||
           tag == kTagHasAttach;
}

std::int64_t NextRow(detail::Database& db, const char* table)
{
    auto& st = db.Prepare(std::string("SELECT COALESCE(MAX(id), 0) + 1 FROM ") + table);
    st.Step();
    const auto row = st.Int(0);
    st.Reset();
    return row;
}

// The rows of an item and of everything it holds (exception items, embedded items, theirs).
std::vector<std::int64_t> WithDescendants(detail::Database& db, std::int64_t row)
{
    std::vector<std::int64_t> rows;
    auto& st = db.Prepare("WITH RECURSIVE d(id) AS (SELECT ?1 UNION ALL SELECT i.id FROM items i "
                          "JOIN d ON i.owner_id = d.id) SELECT id FROM d");
    st.Bind(1, row);
    while (st.Step())
        rows.push_back(st.Int(0));
    return rows;
}

} // namespace

std::int64_t Store::Impl::InsertItem(std::int64_t folderRow, std::string_view messageClass,
                                     ItemKind kind, std::int64_t ownerRow)
{
    const auto row = NextRow(db, "items");
    auto& st = db.Prepare("INSERT INTO items(id, entry_id, folder_id, message_class, kind, "
                          "owner_id) VALUES(?, ?, ?, ?, ?, ?)");
    st.Bind(1, row)
        .Bind(2, MakeEntryId(ObjectKind::Item, row))
        .Bind(3, folderRow)
        .Bind(4, messageClass)
        .Bind(5, static_cast<std::int64_t>(kind));
    if (ownerRow == 0)
        st.BindNull(6);
    else
        st.Bind(6, ownerRow);
    st.Run();
    return row;
}

void Store::Impl::DeleteItemRow(std::int64_t row)
{
    static const char* const kDeletes[] = {
        "DELETE FROM props WHERE item_id = ?",      "DELETE FROM recurrence WHERE item_id = ?",
        "DELETE FROM exceptions WHERE item_id = ?", "DELETE FROM attachments WHERE item_id = ?",
        "DELETE FROM recipients WHERE item_id = ?", "DELETE FROM items WHERE id = ?"};
    for (const auto id : WithDescendants(db, row))
        for (const char* sql : kDeletes)
            db.Prepare(sql).Bind(1, id).Run();
}

// --- items ----------------------------------------------------------------------------------

ItemInfo Store::CreateItem(std::string_view folderEntryId, std::string_view messageClass)
{
    const auto row =
        impl_->InsertItem(impl_->FolderRow(folderEntryId), messageClass, ItemKind::Normal, 0);
    return {impl_->MakeEntryId(ObjectKind::Item, row),
            std::string(folderEntryId),
            std::string(messageClass),
            ItemKind::Normal,
            {}};
}

std::optional<ItemInfo> Store::FindItem(std::string_view entryId) const
{
    std::int64_t row;
    try {
        row = impl_->RowOf(entryId, ObjectKind::Item);
    } catch (const StoreError&) {
        return std::nullopt;
    }
    auto& st = impl_->db.Prepare(std::string(kItemColumns) + "WHERE i.id = ?");
    if (!st.Bind(1, row).Step())
        return std::nullopt;
    auto info = impl_->ItemFromRow(st);
    st.Reset();
    return info;
}

std::vector<ItemInfo> Store::FindItems(std::span<const std::string> entryIds) const
{
    detail::ReadScope scope(impl_->db);
    const auto rows = impl_->ItemRows(entryIds);
    std::vector<ItemInfo> out;
    out.reserve(rows.size());
    auto& st = impl_->db.Prepare(std::string(kItemColumns) +
                                 "WHERE i.id IN (SELECT value FROM json_each(?1)) ORDER BY i.id");
    st.Bind(1, IdList(rows));
    while (st.Step())
        out.push_back(impl_->ItemFromRow(st));
    return out;
}

std::vector<std::int64_t> Store::Impl::ItemRows(std::span<const std::string> entryIds) const
{
    std::vector<std::int64_t> rows;
    rows.reserve(entryIds.size());
    for (const auto& id : entryIds) {
        try {
            rows.push_back(RowOf(id, ObjectKind::Item));
        } catch (const StoreError&) {
            // Not an item of this store: nothing of it is read.
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

ItemInfo Store::GetItem(std::string_view entryId) const
{
    if (auto item = FindItem(entryId))
        return *item;
    throw StoreError(StoreErrorKind::NotFound, "no such item: " + std::string(entryId));
}

std::size_t Store::ItemCount(std::string_view folderEntryId) const
{
    const auto folder = impl_->FolderRow(folderEntryId);
    auto& st = impl_->db.Prepare(
        impl_->keptCounts
            ? "SELECT COALESCE((SELECT items FROM folder_counts WHERE folder_id = ?1), 0)"
            : "SELECT COUNT(*) FROM items WHERE folder_id = ?1 AND kind = 0");
    st.Bind(1, folder).Step();
    const auto n = st.Int(0);
    st.Reset();
    return static_cast<std::size_t>(n);
}

std::vector<ItemInfo> Store::Items(std::string_view folderEntryId, std::size_t limit) const
{
    detail::ReadScope scope(impl_->db);
    const auto folder = impl_->FolderRow(folderEntryId);
    std::vector<ItemInfo> out;
    auto& st = impl_->db.Prepare(std::string(kItemColumns) +
                                 "WHERE i.folder_id = ? AND i.kind = 0 ORDER BY i.id LIMIT ?");
    // SQLite takes a negative limit as none.
    st.Bind(1, folder).Bind(2, limit > static_cast<std::size_t>(INT64_MAX)
                                   ? std::int64_t{-1}
                                   : static_cast<std::int64_t>(limit));
    while (st.Step())
        out.push_back(impl_->ItemFromRow(st));
    return out;
}

void Store::SetMessageClass(std::string_view itemEntryId, std::string_view messageClass)
{
    impl_->db.Prepare("UPDATE items SET message_class = ? WHERE id = ?")
        .Bind(1, messageClass)
        .Bind(2, impl_->ItemRow(itemEntryId))
        .Run();
}

void Store::MoveItem(std::string_view itemEntryId, std::string_view folderEntryId)
{
    const auto item = GetItem(itemEntryId);
    if (item.kind != ItemKind::Normal)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "only folder items can move: " + std::string(itemEntryId));
    const auto folder = impl_->FolderRow(folderEntryId);
    for (const auto row : WithDescendants(impl_->db, impl_->ItemRow(itemEntryId)))
        impl_->db.Prepare("UPDATE items SET folder_id = ? WHERE id = ?")
            .Bind(1, folder)
            .Bind(2, row)
            .Run();
}

void Store::DeleteItem(std::string_view itemEntryId)
{
    impl_->DeleteItemRow(impl_->ItemRow(itemEntryId));
}

// --- properties -----------------------------------------------------------------------------

std::optional<PropValue> Store::GetItemProperty(std::string_view itemEntryId, PropTag tag) const
{
    tag = NormalizeTag(tag);
    const auto row = impl_->ItemRow(itemEntryId);
    if (tag == kTagEntryId)
        return HexToBinary(impl_->MakeEntryId(ObjectKind::Item, row));
    if (tag == kTagStoreEntryId)
        return HexToBinary(impl_->entryId);
    if (tag == kTagMessageClass)
        return GetItem(itemEntryId).messageClass;
    if (tag == kTagHasAttach) {
        auto& st = impl_->db.Prepare("SELECT 1 FROM attachments WHERE item_id = ? LIMIT 1");
        const bool has = st.Bind(1, row).Step();
        st.Reset();
        return has;
    }
    auto& st = impl_->db.Prepare("SELECT value FROM props WHERE item_id = ? AND tag = ?");
    if (!st.Bind(1, row).Bind(2, static_cast<std::int64_t>(tag)).Step())
        return std::nullopt;
    auto value = detail::ReadValue(st, 0, PropTypeOf(tag));
    st.Reset();
    return value;
}

void Store::SetItemProperty(std::string_view itemEntryId, PropTag tag, const PropValue& value)
{
    const std::pair<PropTag, PropValue> one[] = {{tag, value}};
    SetItemProperties(itemEntryId, one);
}

void Store::SetItemProperties(std::string_view itemEntryId,
                              std::span<const std::pair<PropTag, PropValue>> properties)
{
    for (const auto& [tag, value] : properties) {
        if (IsComputed(NormalizeTag(tag)))
            throw StoreError(StoreErrorKind::InvalidArgument,
                             "computed property cannot be set: " + std::to_string(tag));
        CheckValueFits(NormalizeTag(tag), value);
    }
    const auto row = impl_->ItemRow(itemEntryId);
    // One statement is atomic by itself; several need a transaction to be all or none.
    std::optional<Transaction> tx;
    if (properties.size() > 1)
        tx.emplace(BeginTransaction());
    for (const auto& [tag, value] : properties) {
        auto& st =
            impl_->db.Prepare("INSERT OR REPLACE INTO props(item_id, tag, value) VALUES(?, ?, ?)");
        st.Bind(1, row).Bind(2, static_cast<std::int64_t>(NormalizeTag(tag)));
        detail::BindValue(st, 3, value);
        st.Run();
    }
    if (tx)
        tx->Commit();
}

void Store::DeleteItemProperty(std::string_view itemEntryId, PropTag tag)
{
    impl_->db.Prepare("DELETE FROM props WHERE item_id = ? AND tag = ?")
        .Bind(1, impl_->ItemRow(itemEntryId))
        .Bind(2, static_cast<std::int64_t>(NormalizeTag(tag)))
        .Run();
}

std::vector<std::pair<PropTag, PropValue>> Store::ItemProperties(std::string_view itemEntryId) const
{
    std::vector<std::pair<PropTag, PropValue>> out;
    auto& st = impl_->db.Prepare("SELECT tag, value FROM props WHERE item_id = ? ORDER BY tag");
    st.Bind(1, impl_->ItemRow(itemEntryId));
    while (st.Step()) {
        const auto tag = static_cast<PropTag>(st.Int(0));
        out.emplace_back(tag, detail::ReadValue(st, 1, PropTypeOf(tag)));
    }
    return out;
}

// --- one-pass folder reads ------------------------------------------------------------------

std::string IdList(const std::vector<std::int64_t>& ids)
{
    std::string text = "[";
    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (k)
            text += ',';
        text += std::to_string(ids[k]);
    }
    return text + "]";
}

Store::Impl::ColumnPlan Store::Impl::PlanColumns(std::span<const PropTag> columns) const
{
    ColumnPlan plan;
    plan.normal.assign(columns.begin(), columns.end());
    for (auto& t : plan.normal)
        t = NormalizeTag(t);
    for (const auto t : plan.normal) {
        if (t == kTagHasAttach)
            plan.wantsAttach = true;
        else if (IsComputed(t))
            continue;
        else if (HotSlot(t) >= 0)
            plan.hot.push_back(t);
        else
            plan.cold.push_back(t);
    }
    for (auto* tags : {&plan.cold, &plan.hot}) {
        std::sort(tags->begin(), tags->end());
        tags->erase(std::unique(tags->begin(), tags->end()), tags->end());
    }
    return plan;
}

std::string Store::Impl::ItemSelect(const ColumnPlan& plan) const
{
    std::string sql = "i.id, i.folder_id, i.message_class, i.kind, i.owner_id";
    for (const auto t : plan.hot)
        sql += ", i.h" + std::to_string(HotSlot(t));
    return sql;
}

TableRow Store::Impl::RowFrom(const detail::Statement& st, const ColumnPlan& plan) const
{
    TableRow row{ItemFromRow(st), std::vector<std::optional<PropValue>>(plan.normal.size())};
    for (std::size_t h = 0; h < plan.hot.size(); ++h) {
        const int at = static_cast<int>(h) + 5;
        if (st.IsNull(at))
            continue;
        const auto value = detail::ReadValue(st, at, PropTypeOf(plan.hot[h]));
        for (std::size_t c = 0; c < plan.normal.size(); ++c)
            if (plan.normal[c] == plan.hot[h])
                row.values[c] = value;
    }
    return row;
}

std::vector<TableRow> Store::Impl::ReadRows(std::int64_t folder, std::span<const PropTag> columns)
{
    const auto plan = PlanColumns(columns);
    std::vector<TableRow> rows;
    std::vector<std::int64_t> ids;
    auto& st = db.Prepare("SELECT " + ItemSelect(plan) +
                          " FROM items i WHERE i.folder_id = ?1 AND i.kind = 0 ORDER BY i.id");
    st.Bind(1, folder);
    while (st.Step()) {
        ids.push_back(st.Int(0));
        rows.push_back(RowFrom(st, plan));
    }
    FillRest(folder, plan, rows, ids, false);
    return rows;
}

void Store::Impl::FillRest(std::int64_t folder, const ColumnPlan& plan, std::vector<TableRow>& rows,
                           const std::vector<std::int64_t>& ids, bool onlyThese)
{
    if (plan.normal.empty() || rows.empty())
        return;
    // Only some rows: every statement names them through one JSON array.
    const std::string which = onlyThese ? " AND i.id IN (SELECT value FROM json_each(?2))" : "";
    const std::string idText = onlyThese ? IdList(ids) : std::string();
    const auto& normal = plan.normal;
    const auto& stored = plan.cold;
    if (!stored.empty()) {
        // A few columns: SQLite seeks each tag of each item. Many columns: reading every
        // property of each item in key order and dropping the unwanted ones is cheaper.
        // Given rows are this folder's already (the item query kept only those): their
        // properties are sought by key alone, without a second walk of the folder's items.
        std::string sql =
            onlyThese ? "SELECT p.item_id, p.tag, p.value FROM props p WHERE p.item_id IN "
                        " (SELECT value FROM json_each(?2))"
                      : "SELECT p.item_id, p.tag, p.value FROM items i JOIN props p ON "
                        "p.item_id = i.id WHERE i.folder_id = ?1 AND i.kind = 0";
        if (stored.size() <= kMaxSeekColumns) {
            sql += " AND p.tag IN (";
            for (std::size_t k = 0; k < stored.size(); ++k)
                sql += (k ? "," : "") + std::to_string(stored[k]);
            sql += ")";
        }
        sql += onlyThese ? " ORDER BY p.item_id" : " ORDER BY i.id";
        detail::Statement st(db, sql);
        st.Bind(1, folder);
        if (onlyThese)
            st.Bind(2, idText);
        std::size_t cursor = 0;
        while (st.Step()) {
            const auto tag = static_cast<PropTag>(st.Int(1));
            if (!std::binary_search(stored.begin(), stored.end(), tag))
                continue;
            const auto id = st.Int(0);
            while (cursor < ids.size() && ids[cursor] < id)
                ++cursor;
            if (cursor == ids.size())
                break;
            if (ids[cursor] != id)
                continue;
            std::optional<PropValue> value;
            for (std::size_t c = 0; c < normal.size(); ++c) {
                if (normal[c] != tag)
                    continue;
                if (!value)
                    value = detail::ReadValue(st, 2, PropTypeOf(tag));
                rows[cursor].values[c] = value;
            }
        }
    }

    std::unordered_set<std::int64_t> withAttachments;
    if (plan.wantsAttach) {
        auto& st = db.Prepare("SELECT DISTINCT a.item_id FROM attachments a JOIN items i ON "
                              "i.id = a.item_id WHERE i.folder_id = ?1 AND i.kind = 0" +
                              which);
        st.Bind(1, folder);
        if (onlyThese)
            st.Bind(2, idText);
        while (st.Step())
            withAttachments.insert(st.Int(0));
    }
    const Binary storeId = HexToBinary(entryId);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < normal.size(); ++c) {
            switch (normal[c]) {
            case kTagEntryId:
                rows[r].values[c] = HexToBinary(rows[r].item.entryId);
                break;
            case kTagStoreEntryId:
                rows[r].values[c] = storeId;
                break;
            case kTagMessageClass:
                rows[r].values[c] = rows[r].item.messageClass;
                break;
            case kTagHasAttach:
                rows[r].values[c] = withAttachments.count(ids[r]) > 0;
                break;
            default:
                break;
            }
        }
    }
}

std::vector<TableRow> Store::ReadTable(std::string_view folderEntryId,
                                       std::span<const PropTag> columns) const
{
    detail::ReadScope scope(impl_->db);
    return impl_->ReadRows(impl_->FolderRow(folderEntryId), columns);
}

namespace {

// Past this share of a folder's items a window read walks the folder in creation order rather
// than seeking each item from the value index: seeking costs several times a step of the walk.
constexpr std::size_t kWideShare = 4;

// The bounds of a range as the statements bind them.
std::int64_t Low(const ValueRange& r)
{
    return r.low.value_or(std::numeric_limits<std::int64_t>::min());
}
std::int64_t High(const ValueRange& r)
{
    return r.high.value_or(std::numeric_limits<std::int64_t>::max());
}

// Keeps the first of each item's rows, in creation order; sorts positions rather than rows,
// which are large to move.
void SortUnique(std::vector<std::int64_t>& ids, std::vector<TableRow>& rows)
{
    if (std::is_sorted(ids.begin(), ids.end()) &&
        std::adjacent_find(ids.begin(), ids.end()) == ids.end())
        return;
    std::vector<std::size_t> order(ids.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ids[a] < ids[b]; });
    std::vector<std::int64_t> sortedIds;
    std::vector<TableRow> sortedRows;
    sortedIds.reserve(ids.size());
    sortedRows.reserve(rows.size());
    for (const auto k : order) {
        if (!sortedIds.empty() && sortedIds.back() == ids[k])
            continue;
        sortedIds.push_back(ids[k]);
        sortedRows.push_back(std::move(rows[k]));
    }
    ids = std::move(sortedIds);
    rows = std::move(sortedRows);
}

} // namespace

detail::Statement* Store::Impl::WindowStatement(const ColumnPlan& plan, const ValueRange& range)
{
    if (!windowIndexes)
        return nullptr;
    const int slot = HotSlot(NormalizeTag(range.tag));
    // The same parameters as the value index's statement: ?2 and ?3 the bounds, ?4 the folder.
    std::string where;
    if (slot == detail::kStartSlot)
        where = "typeof(i.h1) = 'integer' AND i.h1 >= ?2 AND i.h1 <= ?3";
    else if (slot == detail::kRecurringSlot && range.low == 1 && range.high == 1)
        // Spelled as the index's own condition, so that SQLite takes the index.
        where = "i.h4 = 1 AND ?2 <= ?3";
    else
        return nullptr;
    return &db.Prepare("SELECT " + ItemSelect(plan) + " FROM items i WHERE i.folder_id = ?4 AND "
                       "i.kind = 0 AND " + where);
}

std::string Store::Impl::ReachingSeries(const std::string& select) const
{
    // The reach index gives the folder's items whose pattern meets the window; an item flagged
    // recurring without a pattern is an item of its own start, found by the start window.
    return "SELECT " + select +
           " FROM items i INDEXED BY items_reach WHERE i.folder_id = ?1 AND i.kind = 0 AND "
           "i.reach_end >= ?2 AND i.reach_start <= ?3 AND i.h4 = 1";
}

bool Store::Impl::IsSeriesRange(const ValueRange& range) const
{
    return HotSlot(NormalizeTag(range.tag)) == detail::kRecurringSlot && range.low == 1 &&
           range.high == 1;
}

std::size_t Store::Impl::IsWide(std::int64_t folder, std::span<const ValueRange> anyOf,
                                const ValueRange* seriesWindow)
{
    if (!keptCounts)
        return 0;
    auto& total = db.Prepare("SELECT items FROM folder_counts WHERE folder_id = ?1");
    const std::int64_t items = total.Bind(1, folder).Step() ? total.Int(0) : 0;
    total.Reset();
    const std::int64_t enough = items / static_cast<std::int64_t>(kWideShare);
    if (enough < 1)
        return 0;
    // The index answers how many values each range holds (in any folder: an estimate that
    // errs towards the walk); counting stops once the walk is the cheaper read.
    auto& count = db.Prepare("SELECT COUNT(*) FROM (SELECT 1 FROM props WHERE tag = ?1 AND "
                             "typeof(value) = 'integer' AND value >= ?2 AND value <= ?3 LIMIT ?4)");
    std::int64_t found = 0;
    for (const auto& range : anyOf) {
        if (seriesWindow != nullptr && IsSeriesRange(range)) {
            auto& reaching =
                db.Prepare("SELECT COUNT(*) FROM (" + ReachingSeries("1") + " LIMIT ?4)");
            reaching.Bind(1, folder)
                .Bind(2, Low(*seriesWindow))
                .Bind(3, High(*seriesWindow))
                .Bind(4, enough - found)
                .Step();
            found += reaching.Int(0);
            reaching.Reset();
            if (found >= enough)
                return static_cast<std::size_t>(items);
            continue;
        }
        count.Bind(1, static_cast<std::int64_t>(NormalizeTag(range.tag)))
            .Bind(2, Low(range))
            .Bind(3, High(range))
            .Bind(4, enough - found)
            .Step();
        found += count.Int(0);
        count.Reset();
        if (found >= enough)
            return static_cast<std::size_t>(items);
    }
    return 0;
}

std::vector<TableRow> Store::Impl::ReadWideRanges(std::int64_t folder, const ColumnPlan& plan,
                                                  std::span<const ValueRange> anyOf,
                                                  std::size_t folderItems,
                                                  const ValueRange* seriesWindow)
{
    // The window's bounds follow the ranges' own.
    const auto windowAt = std::to_string(2 * anyOf.size() + 2);
    const auto windowNext = std::to_string(2 * anyOf.size() + 3);
    // One walk of the folder's items; a range on a kept column is tested on the item row, any
    // other on the item's value in `props`, as the index holds it.
    std::string test;
    for (std::size_t k = 0; k < anyOf.size(); ++k) {
        const auto tag = NormalizeTag(anyOf[k].tag);
        const auto at = std::to_string(2 * k + 2);
        const auto next = std::to_string(2 * k + 3);
        const int slot = HotSlot(tag);
        const std::string value = slot >= 0 ? "i.h" + std::to_string(slot) : "p.value";
        std::string one = "typeof(" + value + ") = 'integer' AND " + value + " >= ?" + at +
                          " AND " + value + " <= ?" + next;
        if (slot < 0)
            one = "EXISTS (SELECT 1 FROM props p WHERE p.item_id = i.id AND p.tag = " +
                  std::to_string(tag) + " AND " + one + ")";
        else if (seriesWindow != nullptr && IsSeriesRange(anyOf[k]))
            one += " AND i.reach_end >= ?" + windowAt + " AND i.reach_start <= ?" + windowNext;
        test += (k ? " OR (" : "(") + one + ")";
    }
    auto& st = db.Prepare("SELECT " + ItemSelect(plan) +
                          " FROM items i WHERE i.folder_id = ?1 AND i.kind = 0 AND (" + test +
                          ") ORDER BY i.id");
    st.Bind(1, folder);
    for (std::size_t k = 0; k < anyOf.size(); ++k)
        st.Bind(static_cast<int>(2 * k + 2), Low(anyOf[k]))
            .Bind(static_cast<int>(2 * k + 3), High(anyOf[k]));
    if (seriesWindow != nullptr)
        st.Bind(std::stoi(windowAt), Low(*seriesWindow))
            .Bind(std::stoi(windowNext), High(*seriesWindow));
    // Room for the whole folder: growing a vector of a million rows moves them each time.
    std::vector<TableRow> rows;
    std::vector<std::int64_t> ids;
    rows.reserve(folderItems);
    ids.reserve(folderItems);
    // Filled at once: faulted in huge pages where the system grants them.
    runtime::AdviseHugePages(rows.data(), rows.capacity() * sizeof(TableRow));
    while (st.Step()) {
        ids.push_back(st.Int(0));
        rows.push_back(RowFrom(st, plan));
    }
    if (rows.size() < rows.capacity() / 2)
        rows.shrink_to_fit();
    FillRest(folder, plan, rows, ids, false);
    return rows;
}

std::vector<TableRow> Store::ReadTableInRanges(std::string_view folderEntryId,
                                               std::span<const PropTag> columns,
                                               std::span<const ValueRange> anyOf,
                                               const std::optional<ValueRange>& seriesWindow) const
{
    detail::ReadScope scope(impl_->db);
    const auto folder = impl_->FolderRow(folderEntryId);
    const auto plan = impl_->PlanColumns(columns);
    if (anyOf.empty())
        return {};
    // A file that keeps no reach gives every series, as the range asks.
    const ValueRange* window = seriesWindow && impl_->seriesReach ? &*seriesWindow : nullptr;
    if (const auto folderItems = impl_->IsWide(folder, anyOf, window))
        return impl_->ReadWideRanges(folder, plan, anyOf, folderItems, window);
    // The value index gives the items of each range (integers only, as the index holds
    // them), and each item row comes with its kept columns in the same step. A range on the
    // start or the recurring flag comes from a window index, which holds the row's columns.
    auto& byValue = impl_->db.Prepare(
        "SELECT " + impl_->ItemSelect(plan) +
        " FROM props p CROSS JOIN items i ON i.id = p.item_id WHERE p.tag = ?1 AND "
        "typeof(p.value) = 'integer' AND p.value >= ?2 AND p.value <= ?3 AND i.folder_id = ?4 "
        "AND i.kind = 0");
    std::vector<std::int64_t> ids;
    std::vector<TableRow> rows;
    for (const auto& range : anyOf) {
        if (window != nullptr && impl_->IsSeriesRange(range)) {
            // Only the series whose reach meets the window, from the reach index.
            auto& st = impl_->db.Prepare(impl_->ReachingSeries(impl_->ItemSelect(plan)));
            st.Bind(1, folder).Bind(2, Low(*window)).Bind(3, High(*window));
            while (st.Step()) {
                ids.push_back(st.Int(0));
                rows.push_back(impl_->RowFrom(st, plan));
            }
            continue;
        }
        auto* st = impl_->WindowStatement(plan, range);
        if (st == nullptr) {
            st = &byValue;
            st->Bind(1, static_cast<std::int64_t>(NormalizeTag(range.tag)));
        }
        st->Bind(2, Low(range)).Bind(3, High(range)).Bind(4, folder);
        while (st->Step()) {
            ids.push_back(st->Int(0));
            rows.push_back(impl_->RowFrom(*st, plan));
        }
    }
    SortUnique(ids, rows);
    impl_->FillRest(folder, plan, rows, ids, true);
    return rows;
}

void Store::ForEachItem(std::string_view folderEntryId,
                        const std::function<void(const ItemWithProperties&)>& visit) const
{
    const auto folder = impl_->FolderRow(folderEntryId);
    // Items and their properties come from one join, ordered by item; items without any
    // property come from the item list between them.
    std::vector<std::pair<std::int64_t, ItemInfo>> items;
    {
        auto& st = impl_->db.Prepare(std::string(kItemColumns) +
                                     "WHERE i.folder_id = ? AND i.kind = 0 ORDER BY i.id");
        st.Bind(1, folder);
        while (st.Step())
            items.emplace_back(st.Int(0), impl_->ItemFromRow(st));
    }
    detail::Statement st(impl_->db, "SELECT p.item_id, p.tag, p.value FROM items i JOIN props p "
                                    "ON p.item_id = i.id WHERE i.folder_id = ? AND i.kind = 0 "
                                    "ORDER BY i.id, p.tag");
    st.Bind(1, folder);
    std::size_t cursor = 0;
    ItemWithProperties current;
    bool more = st.Step();
    for (; cursor < items.size(); ++cursor) {
        current.item = std::move(items[cursor].second);
        current.properties.clear();
        while (more && st.Int(0) == items[cursor].first) {
            const auto tag = static_cast<PropTag>(st.Int(1));
            current.properties.emplace_back(tag, detail::ReadValue(st, 2, PropTypeOf(tag)));
            more = st.Step();
        }
        visit(current);
    }
}

// --- attachments and recipients -------------------------------------------------------------

namespace {
std::int64_t NextNumber(detail::Database& db, const char* table, const char* column,
                        std::int64_t item)
{
    auto& st = db.Prepare(std::string("SELECT COALESCE(MAX(") + column + ") + 1, 0) FROM " + table +
                          " WHERE item_id = ?");
    st.Bind(1, item).Step();
    const auto n = st.Int(0);
    st.Reset();
    return n;
}
} // namespace

int Store::AddFileAttachment(std::string_view itemEntryId, std::string_view fileName,
                             std::span<const std::uint8_t> data, std::int32_t position,
                             std::string_view displayName)
{
    const auto item = impl_->ItemRow(itemEntryId);
    const auto num = NextNumber(impl_->db, "attachments", "num", item);
    impl_->db
        .Prepare("INSERT INTO attachments(item_id, num, method, file_name, display_name, "
                 "position, data) VALUES(?, ?, 1, ?, ?, ?, ?)")
        .Bind(1, item)
        .Bind(2, num)
        .Bind(3, fileName)
        .Bind(4, displayName.empty() ? fileName : displayName)
        .Bind(5, static_cast<std::int64_t>(position))
        .BindBlob(6, std::vector<std::uint8_t>(data.begin(), data.end()))
        .Run();
    return static_cast<int>(num);
}

ItemInfo Store::AddEmbeddedItem(std::string_view itemEntryId, std::string_view messageClass,
                                std::string_view displayName, std::int32_t position)
{
    const auto owner = GetItem(itemEntryId);
    const auto ownerRow = impl_->ItemRow(itemEntryId);
    const auto row = impl_->InsertItem(impl_->RowOf(owner.folderEntryId, ObjectKind::Folder),
                                       messageClass, ItemKind::Embedded, ownerRow);
    const auto num = NextNumber(impl_->db, "attachments", "num", ownerRow);
    impl_->db
        .Prepare("INSERT INTO attachments(item_id, num, method, file_name, display_name, "
                 "position, data, embedded_item_id) VALUES(?, ?, 5, '', ?, ?, NULL, ?)")
        .Bind(1, ownerRow)
        .Bind(2, num)
        .Bind(3, displayName)
        .Bind(4, static_cast<std::int64_t>(position))
        .Bind(5, row)
        .Run();
    return GetItem(impl_->MakeEntryId(ObjectKind::Item, row));
}

std::vector<Attachment> Store::Attachments(std::string_view itemEntryId) const
{
    std::vector<Attachment> out;
    auto& st =
        impl_->db.Prepare("SELECT num, method, file_name, display_name, position, data, "
                          "embedded_item_id FROM attachments WHERE item_id = ? ORDER BY num");
    st.Bind(1, impl_->ItemRow(itemEntryId));
    while (st.Step()) {
        Attachment a;
        a.number = static_cast<int>(st.Int(0));
        a.method = static_cast<AttachMethod>(st.Int(1));
        a.fileName = st.Text(2);
        a.displayName = st.Text(3);
        a.position = static_cast<std::int32_t>(st.Int(4));
        a.data = st.Blob(5);
        if (!st.IsNull(6))
            a.embeddedEntryId = impl_->MakeEntryId(ObjectKind::Item, st.Int(6));
        out.push_back(std::move(a));
    }
    return out;
}

void Store::DeleteAttachment(std::string_view itemEntryId, int number)
{
    const auto item = impl_->ItemRow(itemEntryId);
    auto& st =
        impl_->db.Prepare("SELECT embedded_item_id FROM attachments WHERE item_id = ? AND num = ?");
    if (!st.Bind(1, item).Bind(2, static_cast<std::int64_t>(number)).Step())
        throw StoreError(StoreErrorKind::NotFound, "no attachment " + std::to_string(number));
    const bool embedded = !st.IsNull(0);
    const auto embeddedRow = st.Int(0);
    st.Reset();
    if (embedded)
        impl_->DeleteItemRow(embeddedRow);
    impl_->db.Prepare("DELETE FROM attachments WHERE item_id = ? AND num = ?")
        .Bind(1, item)
        .Bind(2, static_cast<std::int64_t>(number))
        .Run();
}

void Store::AddRecipient(std::string_view itemEntryId, const Recipient& r)
{
    const auto item = impl_->ItemRow(itemEntryId);
    const auto row = NextNumber(impl_->db, "recipients", "row", item);
    impl_->db
        .Prepare("INSERT INTO recipients(item_id, row, type, name, address, resolved) "
                 "VALUES(?, ?, ?, ?, ?, ?)")
        .Bind(1, item)
        .Bind(2, row)
        .Bind(3, static_cast<std::int64_t>(r.type))
        .Bind(4, r.name)
        .Bind(5, r.address)
        .Bind(6, static_cast<std::int64_t>(r.resolved))
        .Run();
}

void Store::SetRecipient(std::string_view itemEntryId, std::size_t row, const Recipient& r)
{
    impl_->db
        .Prepare("UPDATE recipients SET type = ?, name = ?, address = ?, resolved = ? "
                 "WHERE item_id = ? AND row = ?")
        .Bind(1, static_cast<std::int64_t>(r.type))
        .Bind(2, r.name)
        .Bind(3, r.address)
        .Bind(4, static_cast<std::int64_t>(r.resolved))
        .Bind(5, impl_->ItemRow(itemEntryId))
        .Bind(6, static_cast<std::int64_t>(row))
        .Run();
    if (impl_->db.Changes() == 0)
        throw StoreError(StoreErrorKind::NotFound, "no recipient row " + std::to_string(row));
}

std::vector<Recipient> Store::Recipients(std::string_view itemEntryId) const
{
    std::vector<Recipient> out;
    auto& st = impl_->db.Prepare(
        "SELECT type, name, address, resolved FROM recipients WHERE item_id = ? ORDER BY row");
    st.Bind(1, impl_->ItemRow(itemEntryId));
    while (st.Step())
        out.push_back(
            {static_cast<RecipientType>(st.Int(0)), st.Text(1), st.Text(2), st.Int(3) != 0});
    return out;
}

void Store::ClearRecipients(std::string_view itemEntryId)
{
    impl_->db.Prepare("DELETE FROM recipients WHERE item_id = ?")
        .Bind(1, impl_->ItemRow(itemEntryId))
        .Run();
}

} // namespace platform::store
