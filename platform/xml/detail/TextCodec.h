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
