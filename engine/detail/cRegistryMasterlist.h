#pragma once

#include "engine/detail/IMasterlist.h"

#include <memory>
#include <string>

namespace platform::win {
class Registry;
}

namespace engine::detail {

/// What the master lists of client versions 8 to 11 share: the value "Masterlist" under
/// "Software\Microsoft\Office\<version>\Outlook\Categories" of the current user, read and
/// written through the registry component. Reading and writing never report errors: a missing
/// component, key or value reads as an empty list and a failed write is lost.
class cRegistryMasterlist : public IMasterlist
{
public:
    ~cRegistryMasterlist() override;

    std::string SECTION() const override;
    std::string Setting() const override { return "Masterlist"; }

protected:
    /// sVersion: the client's version folder, "8.0" to "11.0".
    explicit cRegistryMasterlist(std::string sVersion);
    /// The registry component; no object when it could not be created.
    platform::win::Registry* RegistryObject() const { return m_oRegistry.get(); }

private:
    std::string m_sVersion;
    std::unique_ptr<platform::win::Registry> m_oRegistry;
};

} // namespace engine::detail
