#pragma once

#include "platform/runtime/VarType.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::runtime {

class Variant;

/// The bounds of one dimension of an Array, both inclusive (Dim a(1 To 3)).
struct ArrayBounds
{
    std::int32_t lower = 0;
    std::int32_t upper = -1;
    /// The number of elements (0 when upper < lower).
    std::int32_t Count() const noexcept { return upper >= lower ? upper - lower + 1 : 0; }
};

/// The runtime's array with one or two dimensions and their own lower bounds, as held in a
/// Variant; a 2-D array of variants is how tables are handed to the spreadsheet. Arrays copy
/// by value, as the runtime's arrays do. Its contents live behind one pointer: every Variant
/// has room for an array, and arrays are rare beside the texts and numbers it mostly holds.
class Array
{
public:
    /// A 1-D array of variants with no elements (lower 0, upper -1).
    Array();
    /// An array of `elementType` with one or two dimensions; each element starts as the type's
    /// default (0, "", False, Empty for variants). Throws Error 5 for no or more than two
    /// dimensions and Error 13 for an element type that cannot be an array element.
    Array(VarType elementType, std::vector<ArrayBounds> bounds);
    Array(const Array& other);
    Array(Array&& other) noexcept;
    Array& operator=(const Array& other);
    Array& operator=(Array&& other) noexcept;
    ~Array();

    /// The declared element type (VarType::Variant for an array of variants).
    VarType ElementType() const noexcept;
    /// 1 or 2.
    int Dimensions() const noexcept;
    /// The lower bound of dimension `dimension` (1-based). Throws Error 9 for a bad dimension.
    std::int32_t LBound(int dimension = 1) const;
    /// The upper bound of dimension `dimension` (1-based). Throws Error 9 for a bad dimension.
    std::int32_t UBound(int dimension = 1) const;
    /// The total number of elements.
    std::size_t Size() const noexcept;

    /// Element of a 1-D array. Throws Error 9 outside the bounds or for a 2-D array.
    Variant& operator()(std::int32_t index);
    /// Element of a 1-D array. Throws Error 9 outside the bounds or for a 2-D array.
    const Variant& operator()(std::int32_t index) const;
    /// Element (row, column) of a 2-D array. Throws Error 9 outside the bounds or for a 1-D
    /// array.
    Variant& operator()(std::int32_t row, std::int32_t column);
    /// Element (row, column) of a 2-D array. Throws Error 9 outside the bounds or for a 1-D
    /// array.
    const Variant& operator()(std::int32_t row, std::int32_t column) const;

    /// ReDim Preserve: gives the last dimension a new upper bound and keeps the elements that
    /// still fit; new elements take the type's default. Throws Error 9 when newUpper is below
    /// lower - 1.
    void RedimPreserve(std::int32_t newUpper);

    /// Same element type, bounds and equal elements.
    friend bool operator==(const Array& a, const Array& b);

private:
    struct Data;
    std::size_t Offset(std::int32_t row, std::int32_t column) const;
    /// The contents; a moved-from array reads as a new empty one.
    const Data& D() const noexcept;
    Data& D();

    std::unique_ptr<Data> data_;
};

} // namespace platform::runtime
