#include "platform/store/NamedProperty.h"

#include "platform/store/StoreError.h"

#include <cctype>

namespace platform::store {

std::string CanonicalGuid(std::string_view text)
{
    std::string_view body = text;
    if (body.size() == 38 && body.front() == '{' && body.back() == '}')
        body = body.substr(1, 36);
    auto fail = [&] {
        return StoreError(StoreErrorKind::InvalidArgument,
                          "not a GUID: \"" + std::string(text) + "\"");
    };
    if (body.size() != 36)
        throw fail();
    std::string out = "{";
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c)))
            throw fail();
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    out += '}';
    return out;
}

NamedProperty NamedProperty::Lid(std::string_view set, std::int64_t lid)
{
    if (lid < 0) {
        if (lid < -32768)
            throw StoreError(StoreErrorKind::InvalidArgument,
                             "LID out of range: " + std::to_string(lid));
        lid &= 0xFFFF;
    }
    if (lid > 0xFFFFFFFFLL)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "LID out of range: " + std::to_string(lid));
    return {CanonicalGuid(set), static_cast<std::uint32_t>(lid)};
}

NamedProperty NamedProperty::Name(std::string_view set, std::string_view name)
{
    if (name.empty())
        throw StoreError(StoreErrorKind::InvalidArgument, "empty property name");
    return {CanonicalGuid(set), std::string(name)};
}

} // namespace platform::store
