#include "grid/modEnumStrings.h"

#include "common/modLanguage.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/ResumeNext.h"

#include <array>
#include <initializer_list>
#include <memory>
#include <utility>

namespace grid::modEnumStrings {
namespace {

namespace rt = platform::runtime;

using EnumList = rt::Collection<std::string>;
using EnumTable = rt::Collection<std::shared_ptr<EnumList>>;

// 0 stands for a value without a resource text of its own (an empty text in its place).
struct EnumDefinition
{
    const char* sKey;
    std::initializer_list<long> lIds;
};

const std::array<EnumDefinition, 8>& Definitions()
{
    static const std::array<EnumDefinition, 8> aDefinitions{{
        {"{00062003-0000-0000-C000-000000000046}/Status", {2031, 2032, 2033, 2034, 2035}},
        {"{00062003-0000-0000-C000-000000000046}/OwnerShip", {2122, 2123, 2124}},
        {"{00062003-0000-0000-C000-000000000046}/DelegationState", {0, 2126, 2127, 2128}},
        {"{00020328-0000-0000-C000-000000000046}/PR_IMPORTANCE", {2129, 2130, 2131}},
        {"{00020328-0000-0000-C000-000000000046}/PR_SENSITIVITY", {2132, 2133, 2134, 2135}},
        {"{00062002-0000-0000-C000-000000000046}/ResponseStatus",
         {0, 2137, 2138, 2139, 2140, 2141}},
        {"{00062002-0000-0000-C000-000000000046}/Label",
         {2142, 2143, 2144, 2145, 2146, 2147, 2148, 2149, 2150, 2151, 2152}},
        {"{00062002-0000-0000-C000-000000000046}/BusyStatus", {2153, 2154, 2155, 2156}},
    }};
    return aDefinitions;
}

std::unique_ptr<EnumTable>& Table()
{
    static std::unique_ptr<EnumTable> oTable;
    return oTable;
}

std::shared_ptr<EnumList> BuildList(const EnumDefinition& oDefinition)
{
    auto oList = std::make_shared<EnumList>();
    long lValue = 0;
    for (const long lId : oDefinition.lIds) {
        std::string sText;
        if (lId != 0) {
            rt::ResumeNext ignore;
            ignore([&] { sText = common::modLanguage::GetResString(lId); });
        }
        rt::ResumeNext ignore;
        ignore([&] { oList->Add(sText, std::to_string(lValue)); });
        ++lValue;
    }
    return oList;
}

} // namespace

void InitEnumStrings()
{
    rt::ResumeNext ignore;
    ignore([] {
        auto oTable = std::make_unique<EnumTable>();
        for (const auto& oDefinition : Definitions()) {
            rt::ResumeNext step;
            step([&] { oTable->Add(BuildList(oDefinition), oDefinition.sKey); });
        }
        Table() = std::move(oTable);
    });
}

std::string GetEnumString(const std::string& sKey, std::int32_t lValue)
{
    const auto& oTable = Table();
    if (!oTable || lValue < 0) {
        return {};
    }
    std::string sText;
    rt::ResumeNext ignore;
    ignore([&] {
        const auto oList = oTable->Item(sKey);
        if (oList && static_cast<long>(lValue) < oList->Count()) {
            sText = oList->Item(static_cast<long>(lValue) + 1);
        }
    });
    return sText;
}

} // namespace grid::modEnumStrings
