#pragma once

#include "fieldcatalogue/PT_PROPERTY_TYPE.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace fieldcatalogue::detail {

/// The four built-in tables; the value is the table's column in `BuiltInField::anIndex`.
enum class ItemTable
{
    Appointment = 0,
    Task = 1,
    Journal = 2,
    Mail = 3,
};

/// One row of the built-in tables: a field that means the same in every table that has it.
struct BuiltInField
{
    /// The row's 1-based position in the appointment, task, journal and mail table; 0 where
    /// the table lacks it.
    std::array<std::int32_t, 4> anIndex;
    const char* sName;
    std::int32_t lCaptionID;
    /// The property set in braces; empty for a computed field.
    const char* sGUID;
    /// The LID of a property named by number, 0 otherwise.
    std::uint16_t nLID;
    /// The name of a property named by string, null otherwise.
    const char* sIDName;
    std::uint32_t lPropTag;
    std::int32_t lPropertyType;
    PT_PROPERTY_TYPE eMapiPropertyType;
    bool bHidden;
    std::int32_t lMappingValue;
    bool bEnumValue;
};

/// Every row of the four tables.
std::span<const BuiltInField> BuiltInFields();

/// The rows of one table in its order.
std::vector<const BuiltInField*> TableRows(ItemTable eTable);

} // namespace fieldcatalogue::detail
