#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::mapi {

namespace detail {
class CompiledRestriction;
}
class Items;
class TableFilter;

/// The table object ("ardex.sfTable"): rows of property values over an item collection, one
/// row per (matching) item, one column per tag of its column list.
class Table : public runtime::Object
{
public:
    Table();
    /// Internal: a collection's own table, which must not keep its collection alive.
    explicit Table(const std::shared_ptr<Items>& owner);
    ~Table() override;
    std::string TypeName() const override { return "Table"; }

    /// The item source: a folder's item collection (Items), or no object (Empty, Nothing).
    /// A new source starts reading at the first row; the old source's restriction is lifted.
    /// Throws error 13 for any other value.
    void SetItem(const runtime::Variant& source);
    void SetItem(const std::shared_ptr<Items>& source);
    /// The item source, or no object.
    std::shared_ptr<Items> Item() const;

    /// The column list: a 0-based array of whole numbers (tags), or Empty for none.
    void SetColumns(const runtime::Variant& tags);
    void SetColumns(std::vector<std::int32_t> tags);
    const std::vector<std::int32_t>& Columns() const { return m_columns; }

    /// The table's one filter object.
    std::shared_ptr<TableFilter> Filter();

    /// Number of rows (matching items).
    long RowCount() const;
    /// Moves the read position back to the first row.
    void GoToFirst();
    /// Reads up to `count` rows from the read position on and advances it: a 2-D array of
    /// Variants (rows x columns, both 0-based), Empty where an item lacks a property,
    /// PT_SYSTIME values in UTC. Past the last row: Empty.
    runtime::Variant GetRows(long count);

    /// Internal: the filter applied a new restriction (null: none) to the item source.
    void ApplyRestriction(std::shared_ptr<const detail::CompiledRestriction> restriction);

private:
    std::shared_ptr<Items> Source() const;
    void LoadRows();
    std::shared_ptr<Items> m_source;
    std::weak_ptr<Items> m_owner;
    std::vector<std::int32_t> m_columns;
    std::shared_ptr<TableFilter> m_filter;
    long m_position = 0;
    std::shared_ptr<const detail::CompiledRestriction> m_restriction;
    bool m_rowsLoaded = false;
    std::uint64_t m_generation = 0;
    std::vector<std::vector<runtime::Variant>> m_rows;
};

} // namespace platform::mapi
