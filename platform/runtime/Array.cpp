#include "platform/runtime/Array.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Variant.h"

#include <algorithm>

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

struct Array::Data
{
    VarType elementType = VarType::Variant;
    std::vector<ArrayBounds> bounds{ArrayBounds{}};
    std::vector<Variant> elements; // row-major
};

Array::Array() : data_(std::make_unique<Data>()) {}

Array::Array(VarType elementType, std::vector<ArrayBounds> bounds)
    : data_(std::make_unique<Data>(Data{elementType, std::move(bounds), {}}))
{
    auto& d = *data_;
    if (d.bounds.empty() || d.bounds.size() > 2) {
        Raise(errors::InvalidProcedureCall);
    }
    std::size_t count = 1;
    for (const ArrayBounds& b : d.bounds) {
        count *= static_cast<std::size_t>(b.Count());
    }
    d.elements.assign(count, DefaultOf(d.elementType));
}

Array::Array(const Array& other) : data_(std::make_unique<Data>(other.D())) {}
Array::Array(Array&& other) noexcept = default;

Array& Array::operator=(const Array& other)
{
    if (this != &other) {
        data_ = std::make_unique<Data>(other.D());
    }
    return *this;
}

Array& Array::operator=(Array&& other) noexcept = default;
Array::~Array() = default;

const Array::Data& Array::D() const noexcept
{
    static const Data kEmpty;
    return data_ ? *data_ : kEmpty;
}

Array::Data& Array::D()
{
    if (!data_) {
        data_ = std::make_unique<Data>();
    }
    return *data_;
}

VarType Array::ElementType() const noexcept
{
    return D().elementType;
}

int Array::Dimensions() const noexcept
{
    return static_cast<int>(D().bounds.size());
}

std::size_t Array::Size() const noexcept
{
    return D().elements.size();
}

std::int32_t Array::LBound(int dimension) const
{
    if (dimension < 1 || dimension > Dimensions()) {
        Raise(errors::SubscriptOutOfRange);
    }
    return D().bounds[dimension - 1].lower;
}

std::int32_t Array::UBound(int dimension) const
{
    if (dimension < 1 || dimension > Dimensions()) {
        Raise(errors::SubscriptOutOfRange);
    }
    return D().bounds[dimension - 1].upper;
}

std::size_t Array::Offset(std::int32_t row, std::int32_t column) const
{
    const auto& bounds = D().bounds;
    const ArrayBounds& r = bounds[0];
    if (row < r.lower || row > r.upper) {
        Raise(errors::SubscriptOutOfRange);
    }
    if (bounds.size() == 1) {
        return static_cast<std::size_t>(row - r.lower);
    }
    const ArrayBounds& c = bounds[1];
    if (column < c.lower || column > c.upper) {
        Raise(errors::SubscriptOutOfRange);
    }
    return static_cast<std::size_t>(row - r.lower) * static_cast<std::size_t>(c.Count()) +
           static_cast<std::size_t>(column - c.lower);
}

Variant& Array::operator()(std::int32_t index)
{
    if (Dimensions() != 1) {
        Raise(errors::SubscriptOutOfRange);
    }
    return D().elements[Offset(index, 0)];
}

const Variant& Array::operator()(std::int32_t index) const
{
    if (Dimensions() != 1) {
        Raise(errors::SubscriptOutOfRange);
    }
    return D().elements[Offset(index, 0)];
}

Variant& Array::operator()(std::int32_t row, std::int32_t column)
{
    if (Dimensions() != 2) {
        Raise(errors::SubscriptOutOfRange);
    }
    return D().elements[Offset(row, column)];
}

const Variant& Array::operator()(std::int32_t row, std::int32_t column) const
{
    if (Dimensions() != 2) {
        Raise(errors::SubscriptOutOfRange);
    }
    return D().elements[Offset(row, column)];
}

void Array::RedimPreserve(std::int32_t newUpper)
{
    auto& d = D();
    ArrayBounds& last = d.bounds.back();
    if (newUpper < last.lower - 1) {
        Raise(errors::SubscriptOutOfRange);
    }
    const ArrayBounds resized{last.lower, newUpper};
    if (d.bounds.size() == 1) {
        d.elements.resize(static_cast<std::size_t>(resized.Count()), DefaultOf(d.elementType));
        last = resized;
        return;
    }
    // Row-major storage: each row keeps the columns that still fit.
    const auto rows = static_cast<std::size_t>(d.bounds[0].Count());
    const auto oldColumns = static_cast<std::size_t>(last.Count());
    const auto newColumns = static_cast<std::size_t>(resized.Count());
    std::vector<Variant> elements(rows * newColumns, DefaultOf(d.elementType));
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < std::min(oldColumns, newColumns); ++c) {
            elements[r * newColumns + c] = std::move(d.elements[r * oldColumns + c]);
        }
    }
    d.elements = std::move(elements);
    last = resized;
}

bool operator==(const Array& a, const Array& b)
{
    const auto& x = a.D();
    const auto& y = b.D();
    if (x.elementType != y.elementType || x.bounds.size() != y.bounds.size()) {
        return false;
    }
    for (std::size_t i = 0; i < x.bounds.size(); ++i) {
        if (x.bounds[i].lower != y.bounds[i].lower || x.bounds[i].upper != y.bounds[i].upper) {
            return false;
        }
    }
    return x.elements == y.elements;
}

} // namespace platform::runtime
