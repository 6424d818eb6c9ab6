#include "platform/store/PropValue.h"

namespace platform::store {

std::uint16_t NaturalType(const PropValue& value)
{
    static constexpr std::uint16_t kTypes[] = {PT_LONG,    PT_DOUBLE,  PT_BOOLEAN, PT_CURRENCY,
                                               PT_SYSTIME, PT_STRING8, PT_BINARY,  PT_MV_STRING8};
    return kTypes[value.index()];
}

bool FitsType(const PropValue& value, std::uint16_t type)
{
    const PropTag normal = NormalizeTag(MakeTag(0, type));
    return NaturalType(value) == PropTypeOf(normal);
}

} // namespace platform::store
