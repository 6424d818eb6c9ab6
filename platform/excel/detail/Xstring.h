#pragma once

#include <string>
#include <string_view>

namespace platform::excel::detail {

/// Texts in a workbook package are "escaped strings": "_xHHHH_" stands for the UTF-16 unit
/// HHHH, which is how characters that XML cannot carry (control characters, a lone CR that
/// XML readers would turn into LF) are stored. A text that holds such a sequence literally
/// must escape its "_" as "_x005F_".

/// Whether `text` (valid UTF-8) holds U+FFFE or U+FFFF: characters that UTF-8 carries but XML
/// does not allow, so that a package holding them opens in no reader.
bool HasNonXmlCharacter(std::string_view text) noexcept;

/// Whether `text` holds a literal "_xHHHH_" (hex digits in either case).
bool HasLiteralEscape(std::string_view text) noexcept;

/// `text` with each literal "_xHHHH_" made "_x005F_xHHHH_" and each character XML does not
/// allow (HasNonXmlCharacter) made its escape ("_xFFFE_"); for writers that escape control
/// characters themselves.
std::string EscapeLiteralEscapes(std::string_view text);

/// Whether `text` needs EscapeXstring: a literal escape or a character XML cannot carry as
/// it is (C0 controls other than tab and LF, CR included; U+FFFE and U+FFFF).
bool NeedsXstringEscape(std::string_view text) noexcept;

/// `text` as an escaped string: literal escapes as above, C0 controls other than tab and LF
/// (CR included) as "_x000D_" and the like, U+FFFE and U+FFFF as "_xFFFE_" and "_xFFFF_".
std::string EscapeXstring(std::string_view text);

/// The text an escaped string stands for: each "_xHHHH_" becomes its character (a pair of
/// escaped surrogates one character; a lone surrogate U+FFFD).
std::string DecodeXstring(std::string_view text);

} // namespace platform::excel::detail
