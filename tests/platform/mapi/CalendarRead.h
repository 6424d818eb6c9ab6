#pragma once

#include "platform/mapi/Constants.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/detail/ValueConversion.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace platform::mapi::test {

/// Adds the engine's shape of a calendar read under `root`: every series (recurring flag true,
/// with a start), or the items without the flag whose `tag` lies in the window (UTC seconds;
/// a missing bound leaves that side open). Answers the OR node that holds the two.
inline std::shared_ptr<Restriction> AddCalendarRead(Restriction& root, std::int32_t tag,
                                                    std::int32_t start, std::int32_t recurring,
                                                    std::optional<std::int64_t> from,
                                                    std::optional<std::int64_t> to)
{
    const auto property = [](Restriction& parent, long relop, std::int32_t t,
                             runtime::Variant value) {
        auto leaf = parent.Add(RES_PROPERTY);
        leaf->SetRelop(relop);
        leaf->SetUlPropTag(t);
        leaf->SetLpProp(std::move(value));
    };
    const auto at = [](std::int64_t utc) { return runtime::Variant(detail::ToDate(utc)); };
    auto any = root.Add(RES_OR);
    auto series = any->Add(RES_AND);
    series->Add(RES_EXIST)->SetUlPropTag(recurring);
    property(*series, RELOP_EQ, recurring, runtime::Variant(true));
    series->Add(RES_EXIST)->SetUlPropTag(start);
    auto single = any->Add(RES_AND);
    single->Add(RES_EXIST)->SetUlPropTag(tag);
    if (from)
        property(*single, RELOP_GE, tag, at(*from));
    if (to)
        property(*single, RELOP_LE, tag, at(*to));
    auto notRecurring = single->Add(RES_OR);
    notRecurring->Add(RES_NOT)->SetKind(RES_EXIST)->SetUlPropTag(recurring);
    property(*notRecurring, RELOP_EQ, recurring, runtime::Variant(false));
    return any;
}

} // namespace platform::mapi::test
