#pragma once

#include "platform/xml/ParseError.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::xml::detail {

/// Turns the bytes of an XML text into UTF-8: a UTF-8 byte order mark is dropped, UTF-16 LE
/// or BE (with a byte order mark, or recognised by "<" as first character) is converted.
/// Invalid bytes fill `error` (BadEncoding) and give std::nullopt.
std::optional<std::string> DecodeToUtf8(std::string_view bytes, ParseError& error);

/// The offset of the first character of `text` that XML 1.0 cannot hold (a byte outside
/// well-formed UTF-8, U+0000-U+0008, U+000B, U+000C, U+000E-U+001F, U+FFFE, U+FFFF), with
/// the length of its sequence; std::nullopt when XML can hold all of it.
struct Unholdable
{
    std::size_t offset = 0;
    std::size_t length = 1;
    bool utf8 = true; ///< false for a byte that is no part of well-formed UTF-8
};
std::optional<Unholdable> FirstUnholdable(std::string_view text);

/// Expands the five predefined entities and character references of `raw` in place.
/// Returns std::nullopt on success, else the reason and the offset of the bad reference.
struct EntityProblem
{
    std::string reason;
    std::size_t offset = 0;
};
std::optional<EntityProblem> ExpandEntities(std::string& raw);

/// Fills line and column (1-based) of `offset` in `text`.
void LocateOffset(std::string_view text, std::size_t offset, ParseError& error);

} // namespace platform::xml::detail
