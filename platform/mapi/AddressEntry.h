#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace platform::mapi {

/// A user as the session names it (its current user).
class AddressEntry : public runtime::Object
{
public:
    AddressEntry(std::string name, std::string address)
        : m_name(std::move(name)), m_address(std::move(address))
    {
    }
    std::string TypeName() const override { return "AddressEntry"; }

    const std::string& Name() const { return m_name; }
    const std::string& Address() const { return m_address; }

private:
    std::string m_name;
    std::string m_address;
};

} // namespace platform::mapi
