#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace platform::outlook {

/// One add-in the client knows.
class COMAddIn : public runtime::Object
{
public:
    COMAddIn(std::string progId, std::string description, bool connected)
        : m_progId(std::move(progId)), m_description(std::move(description)), m_connected(connected)
    {
    }
    std::string TypeName() const override { return "COMAddIn"; }

    const std::string& ProgId() const { return m_progId; }
    const std::string& Description() const { return m_description; }
    bool Connect() const { return m_connected; }
    void SetConnect(bool connected) { m_connected = connected; }

private:
    std::string m_progId;
    std::string m_description;
    bool m_connected;
};

} // namespace platform::outlook
