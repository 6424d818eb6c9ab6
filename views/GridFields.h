#pragma once

#include "common/IChild.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"
#include "views/GridField.h"

#include <cstdint>
#include <memory>
#include <string>

namespace views {

class ViewSettings;

/// The ordered columns of a view, keyed by each column's `Key` (1-based positions, keys
/// without regard to case). Owns its columns and links each to itself while it holds it. No
/// member reports an error: a duplicate key, a missing entry or a position naming no entry
/// leaves the collection unchanged.
class GridFields : public platform::runtime::Object, public common::IChild
{
public:
    using Columns = platform::runtime::Collection<std::shared_ptr<GridField>>;

    GridFields() = default;
    GridFields(const GridFields&) = delete;
    GridFields& operator=(const GridFields&) = delete;
    /// Clears the columns' parent links.
    ~GridFields() override;

    std::string TypeName() const override { return "GridFields"; }

    /// Number of columns.
    std::int32_t Count() const { return m_colFields.Count(); }
    /// The column at a 1-based position or with a key; null when there is none.
    std::shared_ptr<GridField> Item(const platform::runtime::Variant& Index) const;
    /// The owning view, or null when not linked.
    ViewSettings* Parent() const;
    /// Unlinks and removes the entry when it exists.
    void Remove(const platform::runtime::Variant& Index);
    /// Links the column to this collection and appends it under its key.
    void Add(const std::shared_ptr<GridField>& child);
    /// Links the column and places it at `Position` (below 2 first, beyond `Count` last).
    void Insert(const std::shared_ptr<GridField>& child, std::int32_t Position);
    /// Unlinks every column and empties the collection.
    void Clear();
    /// Clears every column's parent link.
    void ResetChildren();

    /// Iteration in column order.
    Columns::const_iterator begin() const { return m_colFields.begin(); }
    /// End of iteration.
    Columns::const_iterator end() const { return m_colFields.end(); }

    /// Stores the parent link (the key is ignored).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Clears the parent link.
    void ResetParentPtr() override { m_pParent = nullptr; }
    /// The collection as its parent link.
    common::IChild& AsIChild() { return *this; }

private:
    platform::runtime::Object* m_pParent = nullptr;
    Columns m_colFields;
};

} // namespace views
