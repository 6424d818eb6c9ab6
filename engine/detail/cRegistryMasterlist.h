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

/// The list as a text value (client versions 8 and 9).
class cTextMasterlist : public cRegistryMasterlist
{
public:
    std::string ReadCategories() override;
    void WriteCategories(std::string& sList) override;
    std::string Convert(std::string& List) override { return List; }
    std::string Format() override { return {}; }

protected:
    using cRegistryMasterlist::cRegistryMasterlist;
};

/// The list as a binary value (client versions 10 and 11): UTF-16LE text followed by a
/// terminator of two zero bytes.
class cBinaryMasterlist : public cRegistryMasterlist
{
public:
    /// A value that ends with the terminator loses it (a value of the terminator alone reads
    /// as an empty list); a value without one is read whole.
    std::string ReadCategories() override;
    /// An empty text stores an empty value in place of the list.
    void WriteCategories(std::string& sList) override;
    /// The stored bytes, terminator included, as lower-case hex pairs joined by ","; empty
    /// for an empty text.
    std::string Convert(std::string& List) override;
    std::string Format() override { return "hex"; }

protected:
    /// sModule: the class name for error sources.
    cBinaryMasterlist(std::string sVersion, std::string sModule);

private:
    std::string m_sModule;
};

} // namespace engine::detail
