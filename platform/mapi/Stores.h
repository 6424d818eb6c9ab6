#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <vector>

namespace platform::mapi {

class Store;

/// The stores of a session's profile, the default store first (1-based).
class Stores : public runtime::Object
{
public:
    explicit Stores(std::vector<std::shared_ptr<Store>> stores);
    std::string TypeName() const override { return "Stores"; }

    /// Number of stores.
    long Count() const;
    /// The store at a 1-based position (a whole number) or with a name or store id (a text);
    /// throws error 9 when there is none.
    std::shared_ptr<Store> Item(const runtime::Variant& index) const;
    /// The profile's default store; throws when the profile has none.
    std::shared_ptr<Store> DefaultStore() const;

    auto begin() const { return m_stores.begin(); }
    auto end() const { return m_stores.end(); }

private:
    std::vector<std::shared_ptr<Store>> m_stores;
};

} // namespace platform::mapi
