#pragma once

#include "folderpicker/Item.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>

namespace folderpicker {

/// The picked folders, in the order they were added (the tree's order). Each item is keyed by
/// a running number ("0", "1", ...) and points back to this result without holding it.
class Result : public platform::runtime::Object
{
public:
    Result() = default;
    /// Resets the back links of the items, which may outlive the result.
    ~Result() override;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    std::string TypeName() const override { return "Result"; }

    /// The number of picked folders.
    long Count() const;
    /// The item at a 1-based position or with a key; null for anything else (never throws).
    std::shared_ptr<folderpicker::Item> Item(const platform::runtime::Variant& Index) const;
    /// The items in order.
    auto begin() const { return m_colItems.begin(); }
    auto end() const { return m_colItems.end(); }

    /// Inside the library: appends an item under the next running number and makes this
    /// result its parent. Throws with "Result.Add" added to the source.
    void Add(const std::shared_ptr<folderpicker::Item>& oItem);

private:
    platform::runtime::Collection<std::shared_ptr<folderpicker::Item>> m_colItems;
    long m_lCounter = 0;
};

} // namespace folderpicker
