#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace platform::mapi {

/// One user-defined field of a folder.
class UserField : public runtime::Object
{
public:
    UserField(std::string guid, long type, std::string name)
        : m_guid(std::move(guid)), m_type(type), m_name(std::move(name))
    {
    }
    std::string TypeName() const override { return "UserField"; }

    /// The property set's GUID text, in braces.
    const std::string& GUID() const { return m_guid; }
    /// The client's user-property type code (1 text, 3 number, 5 date, 6 yes/no, ...).
    long Type() const { return m_type; }
    const std::string& Name() const { return m_name; }

private:
    std::string m_guid;
    long m_type;
    std::string m_name;
};

} // namespace platform::mapi
