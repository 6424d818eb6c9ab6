#include "platform/runtime/Array.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Variant.h"

namespace platform::runtime {

namespace {

Variant DefaultOf(VarType type)
{
    switch (type) {
    case VarType::Integer:
        return Variant(std::int16_t{0});
    case VarType::Long:
        return Variant(std::int32_t{0});
    case VarType::Single:
        return Variant(0.0f);
    case VarType::Double:
        return Variant(0.0);
    case VarType::Currency:
        return Variant(Currency());
    case VarType::Date:
        return Variant(Date());
    case VarType::String:
        return Variant(std::string());
    case VarType::Object:
        return Variant(nullptr);
    case VarType::Error:
        return Variant(ErrorValue{});
    case VarType::Boolean:
        return Variant(false);
    case VarType::Byte:
        return Variant(std::uint8_t{0});
    case VarType::Variant:
        return Variant();
    default:
        Raise(errors::TypeMismatch);
    }
}

} // namespace

Array::Array() : bounds_{ArrayBounds{}} {}

Array::Array(VarType elementType, std::vector<ArrayBounds> bounds)
    : elementType_(elementType), bounds_(std::move(bounds))
{
    if (bounds_.empty() || bounds_.size() > 2) {
        Raise(errors::InvalidProcedureCall);
    }
    std::size_t count = 1;
    for (const ArrayBounds& b : bounds_) {
        count *= static_cast<std::size_t>(b.Count());
    }
    elements_.assign(count, DefaultOf(elementType_));
}

Array::Array(const Array& other) = default;
Array::Array(Array&& other) noexcept = default;
Array& Array::operator=(const Array& other) = default;
Array& Array::operator=(Array&& other) noexcept = default;
Array::~Array() = default;

std::int32_t Array::LBound(int dimension) const
{
    if (dimension < 1 || dimension > Dimensions()) {
        Raise(errors::SubscriptOutOfRange);
    }
    return bounds_[dimension - 1].lower;
}

std::int32_t Array::UBound(int dimension) const
{
    if (dimension < 1 || dimension > Dimensions()) {
        Raise(errors::SubscriptOutOfRange);
    }
    return bounds_[dimension - 1].upper;
}

std::size_t Array::Offset(std::int32_t row, std::int32_t column) const
{
    const ArrayBounds& r = bounds_[0];
    if (row < r.lower || row > r.upper) {
        Raise(errors::SubscriptOutOfRange);
    }
    if (bounds_.size() == 1) {
        return static_cast<std::size_t>(row - r.lower);
    }
    const ArrayBounds& c = bounds_[1];
    if (column < c.lower || column > c.upper) {
        Raise(errors::SubscriptOutOfRange);
    }
    return static_cast<std::size_t>(row - r.lower) * static_cast<std::size_t>(c.Count()) +
           static_cast<std::size_t>(column - c.lower);
}

Variant& Array::operator()(std::int32_t index)
{
    if (bounds_.size() != 1) {
        Raise(errors::SubscriptOutOfRange);
    }
    return elements_[Offset(index, 0)];
}

const Variant& Array::operator()(std::int32_t index) const
{
    if (bounds_.size() != 1) {
        Raise(errors::SubscriptOutOfRange);
    }
    return elements_[Offset(index, 0)];
}

Variant& Array::operator()(std::int32_t row, std::int32_t column)
{
    if (bounds_.size() != 2) {
        Raise(errors::SubscriptOutOfRange);
    }
    return elements_[Offset(row, column)];
}

const Variant& Array::operator()(std::int32_t row, std::int32_t column) const
{
    if (bounds_.size() != 2) {
        Raise(errors::SubscriptOutOfRange);
    }
    return elements_[Offset(row, column)];
}

void Array::RedimPreserve(std::int32_t newUpper)
{
    ArrayBounds& last = bounds_.back();
    if (newUpper < last.lower - 1) {
        Raise(errors::SubscriptOutOfRange);
    }
    const ArrayBounds resized{last.lower, newUpper};
    if (bounds_.size() == 1) {
        elements_.resize(static_cast<std::size_t>(resized.Count()), DefaultOf(elementType_));
        last = resized;
        return;
    }
    // Row-major storage: each row keeps the columns that still fit.
    const auto rows = static_cast<std::size_t>(bounds_[0].Count());
    const auto oldColumns = static_cast<std::size_t>(last.Count());
    const auto newColumns = static_cast<std::size_t>(resized.Count());
    std::vector<Variant> elements(rows * newColumns, DefaultOf(elementType_));
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < std::min(oldColumns, newColumns); ++c) {
            elements[r * newColumns + c] = std::move(elements_[r * oldColumns + c]);
        }
    }
    elements_ = std::move(elements);
    last = resized;
}

bool operator==(const Array& a, const Array& b)
{
    if (a.elementType_ != b.elementType_ || a.bounds_.size() != b.bounds_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.bounds_.size(); ++i) {
        if (a.bounds_[i].lower != b.bounds_[i].lower || a.bounds_[i].upper != b.bounds_[i].upper) {
            return false;
        }
    }
    return a.elements_ == b.elements_;
}

} // namespace platform::runtime
