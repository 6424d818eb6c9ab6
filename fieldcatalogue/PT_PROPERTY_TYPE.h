#pragma once

#include <cstdint>

namespace fieldcatalogue {

/// The MAPI property-type codes of a field's value. The record engine carries the same
/// enumeration with the same values, so that a catalogue field and an engine column agree.
enum class PT_PROPERTY_TYPE : std::int32_t
{
    PT_BOOLEAN = 11,      ///< 16-bit boolean
    PT_LONG = 3,          ///< signed 32-bit integer
    PT_BINARY = 258,      ///< byte array (0x0102)
    PT_STRING8 = 30,      ///< 8-bit string (0x001E)
    PT_SYSTIME = 64,      ///< date and time (0x0040)
    PT_MV_STRING8 = 4126, ///< list of 8-bit strings (0x101E)
    PT_OBJECT = 13,       ///< object; only the computed field "Icon" has it
    PT_DOUBLE = 5,        ///< 64-bit floating point
    PT_CURRENCY = 6,      ///< currency
};

} // namespace fieldcatalogue
