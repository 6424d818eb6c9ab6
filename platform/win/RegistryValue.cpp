#include "platform/win/RegistryValue.h"

#include "platform/runtime/Error.h"
#include "platform/win/detail/TextCodec.h"

namespace platform::win {

namespace rt = platform::runtime;

RegistryValue RegistryValue::text(std::string text)
{
    RegistryValue value;
    value.data_ = std::move(text);
    return value;
}

RegistryValue RegistryValue::binary(std::vector<std::uint8_t> bytes)
{
    RegistryValue value;
    value.data_ = std::move(bytes);
    return value;
}

RegistryValue RegistryValue::fromVariant(const rt::Variant& value)
{
    if (const auto* textValue = value.Get<std::string>()) {
        return text(*textValue);
    }
    if (value.IsEmpty()) {
        return {};
    }
    if (value.IsArray() && value.AsArray().ElementType() == rt::VarType::Byte &&
        value.AsArray().Dimensions() == 1) {
        const auto& array = value.AsArray();
        std::vector<std::uint8_t> bytes;
        bytes.reserve(array.Size());
        for (auto i = array.LBound(); i <= array.UBound(); ++i) {
            const auto* byte = array(i).Get<std::uint8_t>();
            bytes.push_back(byte != nullptr ? *byte : 0);
        }
        return binary(std::move(bytes));
    }
    throw rt::Error(rt::errors::TypeMismatch, "Registry",
                    "a registry value is text or a one-dimensional Byte array");
}

std::string RegistryValue::asText() const
{
    switch (kind()) {
    case Kind::Text:
        return std::get<std::string>(data_);
    case Kind::Binary: {
        const auto& bytes = std::get<std::vector<std::uint8_t>>(data_);
        std::string raw(bytes.begin(), bytes.end());
        if (raw.size() % 2 != 0) {
            raw.push_back('\0');
        }
        return detail::decodeText("\xFF\xFE" + raw).text;
    }
    case Kind::Empty:
        break;
    }
    return {};
}

std::vector<std::uint8_t> RegistryValue::asBytes() const
{
    switch (kind()) {
    case Kind::Binary:
        return std::get<std::vector<std::uint8_t>>(data_);
    case Kind::Text: {
        const auto bytes =
            detail::encodeText(std::get<std::string>(data_), detail::TextEncoding::Utf16Le,
                               detail::ByteOrderMark::Omit);
        return {bytes.begin(), bytes.end()};
    }
    case Kind::Empty:
        break;
    }
    return {};
}

rt::Variant RegistryValue::toVariant() const
{
    if (kind() == Kind::Text) {
        return rt::Variant(std::get<std::string>(data_));
    }
    const auto bytes = asBytes();
    rt::Array array(rt::VarType::Byte,
                    {rt::ArrayBounds{0, static_cast<std::int32_t>(bytes.size()) - 1}});
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        array(static_cast<std::int32_t>(i)) = rt::Variant(bytes[i]);
    }
    return rt::Variant(std::move(array));
}

} // namespace platform::win
