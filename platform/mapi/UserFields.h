#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <vector>

namespace platform::mapi {

class UserField;

/// A folder's user-defined fields in the folder's order (1-based).
class UserFields : public runtime::Object
{
public:
    explicit UserFields(std::vector<std::shared_ptr<UserField>> fields)
        : m_fields(std::move(fields))
    {
    }
    std::string TypeName() const override { return "UserFields"; }

    long Count() const { return static_cast<long>(m_fields.size()); }
    /// The field at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<UserField> Item(long index) const;

    auto begin() const { return m_fields.begin(); }
    auto end() const { return m_fields.end(); }

private:
    std::vector<std::shared_ptr<UserField>> m_fields;
};

} // namespace platform::mapi
