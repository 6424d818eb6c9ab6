#include "engine/detail/cRegistryMasterlist.h"
#include "engine/detail/cBinaryMasterlist.h"
#include "engine/detail/cTextMasterlist.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/win/Registry.h"

#include <cstdio>

namespace engine::detail {

namespace rt = platform::runtime;
namespace win = platform::win;

namespace {

constexpr win::Hive kHive = win::Hive::CurrentUser;

// The UTF-16LE bytes of a text followed by the two-byte terminator.
std::vector<std::uint8_t> StoredBytes(const std::string& sText)
{
    auto bytes = win::RegistryValue::text(sText).asBytes();
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

} // namespace

cRegistryMasterlist::cRegistryMasterlist(std::string sVersion) : m_sVersion(std::move(sVersion))
{
    rt::ResumeNext ignore;
    ignore([&] { m_oRegistry = std::make_unique<win::Registry>(); });
}

cRegistryMasterlist::~cRegistryMasterlist() = default;

std::string cRegistryMasterlist::SECTION() const
{
    return "Software\\Microsoft\\Office\\" + m_sVersion + "\\Outlook\\Categories";
}

std::string cTextMasterlist::ReadCategories()
{
    std::string sList;
    rt::ResumeNext ignore;
    ignore([&] {
        if (const auto oValue = RegistryObject()->read(kHive, SECTION(), Setting()))
            sList = oValue->asText();
    });
    return sList;
}

void cTextMasterlist::WriteCategories(std::string& sList)
{
    rt::ResumeNext ignore;
    ignore([&] {
        RegistryObject()->write(kHive, SECTION(), Setting(), win::RegistryValue::text(sList));
    });
}

cBinaryMasterlist::cBinaryMasterlist(std::string sVersion, std::string sModule)
    : cRegistryMasterlist(std::move(sVersion)), m_sModule(std::move(sModule))
{
}

std::string cBinaryMasterlist::ReadCategories()
{
    std::string sList;
    rt::ResumeNext ignore;
    ignore([&] {
        const auto oValue = RegistryObject()->read(kHive, SECTION(), Setting());
        if (!oValue)
            return;
        auto bytes = oValue->asBytes();
        // Only the terminator goes: a list of the terminator alone is empty, and a value
        // stored without one keeps its last character.
        if (bytes.size() >= 2 && bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0)
            bytes.resize(bytes.size() - 2);
        sList = win::RegistryValue::binary(std::move(bytes)).asText();
    });
    return sList;
}

void cBinaryMasterlist::WriteCategories(std::string& sList)
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (sList.empty())
            RegistryObject()->writeEmpty(kHive, SECTION(), Setting());
        else
            RegistryObject()->write(kHive, SECTION(), Setting(),
                                    win::RegistryValue::binary(StoredBytes(sList)));
    });
}

std::string cBinaryMasterlist::Convert(std::string& List)
{
    return common::Rethrowing(m_sModule, "IMasterlist_Convert", [&] {
        std::string sHex;
        if (List.empty())
            return sHex;
        for (const auto byte : StoredBytes(List)) {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%02x", byte);
            if (!sHex.empty())
                sHex += ',';
            sHex += buffer;
        }
        return sHex;
    });
}

} // namespace engine::detail
