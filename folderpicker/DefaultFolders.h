#pragma once

#include "platform/runtime/Object.h"

#include <string>
#include <utility>
#include <vector>

namespace folderpicker {

/// Pairs of entry and store identifiers in the order added. The library keeps them for the
/// caller and does not use them itself.
class DefaultFolders : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "DefaultFolders"; }

    /// Appends a pair as given.
    void Add(const std::string& EntryID, const std::string& StoreID);
    /// Starts a new, empty list.
    void Clear();
    /// The number of pairs.
    long Count() const;
    /// Whether a pair with exactly these two texts is in the list.
    bool Contains(const std::string& EntryID, const std::string& StoreID) const;

private:
    std::vector<std::pair<std::string, std::string>> m_aFolders;
};

} // namespace folderpicker
