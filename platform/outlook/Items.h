#pragma once

#include "platform/runtime/Object.h"

#include <memory>

namespace platform::mapi {
class Items;
}

namespace platform::outlook {

class ItemBase;

/// A folder's items in the client's object model (1-based), as the client's item objects.
class Items : public runtime::Object
{
public:
    explicit Items(std::shared_ptr<mapi::Items> items) : m_items(std::move(items)) {}
    std::string TypeName() const override { return "Items"; }

    long Count() const;
    /// The item at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<ItemBase> Item(long index) const;
    /// The first item (no object when empty); starts GetNext.
    std::shared_ptr<ItemBase> GetFirst();
    /// The next item, or no object at the end.
    std::shared_ptr<ItemBase> GetNext();

private:
    std::shared_ptr<mapi::Items> m_items;
};

} // namespace platform::outlook
