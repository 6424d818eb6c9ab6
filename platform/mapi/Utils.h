#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform::mapi {

/// The utils object ("ardex.sfUtils"): named-property ids, time-zone conversion of day serials
/// through the process's time zone (TZ), and a few profile facts.
class Utils : public runtime::Object
{
public:
    std::string TypeName() const override { return "Utils"; }

    /// The id of a named property in the store of `mapiObject` (a Message, Folder or Store, as
    /// their MAPIOBJECT gives it): the id in the high 16 bits, the low 16 bits 0, so the
    /// caller ORs the type in. `id` is a LID (whole number, a negative 16-bit value standing
    /// for 0x8000 and up) or a name (text). With `create` False an unknown name raises error
    /// -2147221233 (not found); with True it is given an id. Error 13 when `mapiObject` is not
    /// an object of this library, 5 for a malformed GUID.
    std::int32_t GetIDsFromNames(const runtime::Variant& mapiObject,
                                 const std::string& propertySetGuid, const runtime::Variant& id,
                                 bool create = false);

    /// Local time to UTC through TZ, as the store converts it: a local time that a
    /// daylight-saving change skips is taken as standard time; for an hour that happens twice
    /// either pass may be answered.
    runtime::Date LocalTimeToUTC(runtime::Date local) const;
    /// UTC to local time through TZ.
    runtime::Date UTCToLocalTime(runtime::Date utc) const;
    /// As LocalTimeToUTC, but nothing instead of error 6 when the instant lies outside the
    /// calendar (100-01-01 to 9999-12-31 23:59:59) in UTC: late on 31 December 9999 west of
    /// UTC, early on 1 January 100 east of it.
    std::optional<runtime::Date> TryLocalTimeToUTC(runtime::Date local) const;
    /// As UTCToLocalTime, but nothing instead of error 6 when the instant lies outside the
    /// calendar in local time.
    std::optional<runtime::Date> TryUTCToLocalTime(runtime::Date utc) const;

    /// The library's version text.
    std::string Version() const;
    /// The current profile's name ("" when none is set).
    std::string ProfileName() const;

    /// The closing call. The object caches nothing, so there is nothing to release; it stays
    /// usable.
    void Cleanup();
};

} // namespace platform::mapi
