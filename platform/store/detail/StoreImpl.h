#pragma once

#include "platform/store/Store.h"
#include "platform/store/detail/Sqlite.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <utility>
#include <vector>
#include <string>
#include <string_view>

namespace platform::store {

/// What entry ids name; the byte after the store identity.
enum class ObjectKind : int
{
    Folder = 1,
    Item = 2
};

/// The state behind a Store, shared by its source files.
struct Store::Impl
{
    Impl(const std::filesystem::path& file, bool create) : path(file), db(file, create) {}

    std::filesystem::path path;
    detail::Database db;
    std::string uid;     ///< 32 upper-case hex digits
    std::string entryId; ///< the store's entry id
    std::string name;    ///< display name (cached from meta)
    int transactionDepth = 0;
    bool keptCounts = false; ///< whether the file keeps its folders' item counts
    bool windowIndexes = false; ///< whether the file has items_start and items_series
    bool seriesReach = false;   ///< whether the file keeps each series' reach (items_reach)
    bool seriesZones = false;   ///< whether the file records each series' time zone
    /// The tags each item row keeps a copy of, by slot (column "h<slot>"; 0: none).
    std::vector<PropTag> hotTags;

    /// The last folder row ItemFromRow named, with its entry id.
    mutable std::pair<std::int64_t, std::string> lastFolder{0, {}};

    /// The slot whose column keeps a tag; -1 when no column does.
    int HotSlot(PropTag tag) const;

    /// Entry id of a folder or item row.
    std::string MakeEntryId(ObjectKind kind, std::int64_t row) const;
    /// The row named by an entry id of this store; throws NotFound (foreign, malformed).
    std::int64_t RowOf(std::string_view entryId, ObjectKind kind) const;
    /// The row of an existing folder; throws NotFound.
    std::int64_t FolderRow(std::string_view entryId);
    /// The row of an existing item; throws NotFound.
    std::int64_t ItemRow(std::string_view entryId);
    /// The rows the entry ids name (ascending, without repeats); ids of other stores and
    /// malformed ones name none.
    std::vector<std::int64_t> ItemRows(std::span<const std::string> entryIds) const;

    /// Reads an item row: id, folder_id, message_class, kind, owner_id from the statement's
    /// first five columns.
    ItemInfo ItemFromRow(const detail::Statement& stmt) const;
    FolderInfo FolderFromRow(const detail::Statement& stmt) const;

    /// Which of a read's columns come from where.
    struct ColumnPlan
    {
        std::vector<PropTag> normal; ///< the read's columns, normalised, in order
        std::vector<PropTag> cold;   ///< stored tags read from `props` (sorted, unique)
        std::vector<PropTag> hot;    ///< stored tags the item rows keep (sorted, unique)
        bool wantsAttach = false;
    };
    ColumnPlan PlanColumns(std::span<const PropTag> columns) const;
    /// The item columns and the plan's kept ones, as "SELECT <this> FROM items i ..." needs.
    std::string ItemSelect(const ColumnPlan& plan) const;
    /// A row from a statement that selected ItemSelect's columns first.
    TableRow RowFrom(const detail::Statement& stmt, const ColumnPlan& plan) const;
    /// The given columns of a folder's ordinary items in creation order.
    std::vector<TableRow> ReadRows(std::int64_t folder, std::span<const PropTag> columns);
    /// Fills the columns of `rows` that the item rows do not keep; `ids` are their rows,
    /// ascending. `onlyThese`: they are some of the folder's items, not all of them.
    void FillRest(std::int64_t folder, const ColumnPlan& plan, std::vector<TableRow>& rows,
                  const std::vector<std::int64_t>& ids, bool onlyThese);

    /// Whether a read of the items with a value in the ranges is better done by walking the
    /// whole folder (the ranges hold a large share of it) than through the value index: the
    /// folder's item count when it is, else 0.
    /// A range that asks for the recurring items (with `seriesWindow`: those that can reach
    /// it) counts their series by the reach index.
    std::size_t IsWide(std::int64_t folder, std::span<const ValueRange> anyOf,
                       const ValueRange* seriesWindow);
    /// Whether a range asks for the recurring items: the kept recurring flag equal to 1.
    bool IsSeriesRange(const ValueRange& range) const;
    /// The statement that reads the items of a range straight from a window index, or null
    /// when no index answers it.
    detail::Statement* WindowStatement(const ColumnPlan& plan, const ValueRange& range);
    /// ReadTableInRanges by one walk of the folder's items (`folderItems` of them).
    std::vector<TableRow> ReadWideRanges(std::int64_t folder, const ColumnPlan& plan,
                                         std::span<const ValueRange> anyOf,
                                         std::size_t folderItems, const ValueRange* seriesWindow);

    /// The statement that gives the recurring items of a folder whose pattern can have an
    /// occurrence in a window. It binds ?1 the folder, ?2 and ?3 the window's bounds; `select`
    /// is what it selects.
    std::string ReachingSeries(const std::string& select) const;
    /// Makes the file keep each series' reach where it can (sets `seriesReach`).
    void KeepSeriesReach();
    /// Writes every series' reach (when the file starts keeping them).
    void FillSeriesReach();
    /// Whether every series' kept reach holds what its pattern gives; nullopt when a pattern
    /// cannot be read.
    std::optional<bool> ReachesAgree();

    /// Inserts an item row (owner 0: none) and answers its row id.
    std::int64_t InsertItem(std::int64_t folderRow, std::string_view messageClass, ItemKind kind,
                            std::int64_t ownerRow);
    /// Deletes an item and everything that hangs from it.
    void DeleteItemRow(std::int64_t row);
    /// Writes the `meta` value of a key.
    void SetMeta(std::string_view key, std::string_view value);
    std::string Meta(std::string_view key);
};

/// The text of a JSON array of row ids, for `json_each` in a statement.
std::string IdList(const std::vector<std::int64_t>& ids);

/// The SQL that makes an empty store database (also the schema documentation's source).
extern const char* const kStoreSchema;

/// Computed item property tags.
inline constexpr PropTag kTagEntryId = 0x0FFF0102;
inline constexpr PropTag kTagStoreEntryId = 0x0FFB0102;
inline constexpr PropTag kTagMessageClass = 0x001A001E;
inline constexpr PropTag kTagHasAttach = 0x0E1B000B;

/// Bytes of a hex entry id.
Binary HexToBinary(std::string_view hex);

/// Throws InvalidArgument unless the value fits the tag's type.
void CheckValueFits(PropTag tag, const PropValue& value);

} // namespace platform::store
