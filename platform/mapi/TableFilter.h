#pragma once

#include "platform/runtime/Object.h"

#include <memory>

namespace platform::mapi {

class Restriction;
class Table;

/// A table object's filter: a restriction tree with one root. Apply hands a copy of the
/// current tree to the table's item source; later edits need another Apply.
class TableFilter : public runtime::Object
{
public:
    /// Internal: made by Table.
    explicit TableFilter(Table& table);
    std::string TypeName() const override { return "TableFilter"; }

    /// Removes the tree and lifts the restriction from the item source.
    void Clear();
    /// Starts a new tree whose root is of `kind` (usually RES_AND) and returns the root.
    std::shared_ptr<Restriction> SetKind(long kind);
    /// The root, or no object after Clear.
    std::shared_ptr<Restriction> Root() const { return m_root; }
    /// Restricts the table's item source (and so the folder's item collection) to the items
    /// the tree passes. Without a tree every item passes.
    void Apply();

    /// Internal: the table is going away.
    void Detach() { m_table = nullptr; }

private:
    Table* m_table; // non-owning back link; the table resets it before it goes
    std::shared_ptr<Restriction> m_root;
};

} // namespace platform::mapi
