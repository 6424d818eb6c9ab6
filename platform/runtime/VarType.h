#pragma once

namespace platform::runtime {

/// The runtime's variant type codes (what VarType returns). An array reports
/// VarType::Array | its element type.
enum class VarType : int
{
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12, ///< only as the element type of an array of variants
    Byte = 17,
    Array = 8192,
};

} // namespace platform::runtime
