#include "platform/runtime/Variant.h"

#include "platform/runtime/Error.h"

namespace platform::runtime {

namespace {

constexpr VarType kKinds[] = {
    VarType::Empty,  VarType::Null,     VarType::Integer, VarType::Long,   VarType::Single,
    VarType::Double, VarType::Currency, VarType::Date,    VarType::String, VarType::Object,
    VarType::Error,  VarType::Boolean,  VarType::Byte,    VarType::Array,
};
static_assert(std::size(kKinds) == std::variant_size_v<Variant::Storage>);

std::string_view NameOf(VarType type)
{
    switch (type) {
    case VarType::Empty:
        return "Empty";
    case VarType::Null:
        return "Null";
    case VarType::Integer:
        return "Integer";
    case VarType::Long:
        return "Long";
    case VarType::Single:
        return "Single";
    case VarType::Double:
        return "Double";
    case VarType::Currency:
        return "Currency";
    case VarType::Date:
        return "Date";
    case VarType::String:
        return "String";
    case VarType::Object:
        return "Object";
    case VarType::Error:
        return "Error";
    case VarType::Boolean:
        return "Boolean";
    case VarType::Variant:
        return "Variant";
    case VarType::Byte:
        return "Byte";
    case VarType::Array:
        break;
    }
    return "Unknown";
}

} // namespace

VarType Variant::Type() const noexcept
{
    return kKinds[value_.index()];
}

int Variant::VarTypeCode() const noexcept
{
    if (const Array* array = Get<Array>()) {
        return static_cast<int>(VarType::Array) | static_cast<int>(array->ElementType());
    }
    return static_cast<int>(Type());
}

std::string Variant::TypeName() const
{
    if (const Array* array = Get<Array>()) {
        return std::string(NameOf(array->ElementType())) + "()";
    }
    if (const auto* object = Get<std::shared_ptr<Object>>()) {
        return *object ? (*object)->TypeName() : std::string("Nothing");
    }
    return std::string(NameOf(Type()));
}

bool Variant::IsNothing() const noexcept
{
    const auto* object = Get<std::shared_ptr<Object>>();
    return object && !*object;
}

bool Variant::IsNumber() const noexcept
{
    switch (Type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Byte:
        return true;
    default:
        return false;
    }
}

const std::shared_ptr<Object>& Variant::AsObject() const
{
    const auto* object = Get<std::shared_ptr<Object>>();
    if (!object) {
        Raise(errors::ObjectRequired);
    }
    return *object;
}

const Array& Variant::AsArray() const
{
    const Array* array = Get<Array>();
    if (!array) {
        Raise(errors::TypeMismatch);
    }
    return *array;
}

Array& Variant::AsArray()
{
    Array* array = Get<Array>();
    if (!array) {
        Raise(errors::TypeMismatch);
    }
    return *array;
}

bool operator==(const Variant& a, const Variant& b)
{
    return a.value_ == b.value_;
}

} // namespace platform::runtime
