#pragma once

#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <string>

namespace folderpicker {

/// Store identifiers that limit the stores the tree shows; each is its own key (letter case
/// ignored). Nothing here throws.
class Stores : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "Stores"; }

    /// Adds a store identifier; one that is there already (in any letter case) changes nothing.
    void Add(const std::string& StoreID);
    /// Starts a new, empty list.
    void Clear();
    /// The number of identifiers.
    long Count() const;
    /// The identifier at a 1-based position or with a key; empty text when there is none.
    std::string Item(const platform::runtime::Variant& Index) const;

private:
    platform::runtime::Collection<std::string> m_colStores;
};

} // namespace folderpicker
