#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The runtime's string functions on UTF-8 text. Positions and lengths count characters
/// (code points) and start at 1, as the runtime's do.
namespace platform::runtime {

/// How two texts are compared: Binary by code point, Text without regard to case (and, for
/// ordering, in the current locale's collation).
enum class CompareMethod
{
    Binary = 0,
    Text = 1
};

/// The number of characters.
std::int64_t Len(std::string_view text);
/// The first `length` characters. Throws Error 5 for a negative length.
std::string Left(std::string_view text, std::int64_t length);
/// The last `length` characters. Throws Error 5 for a negative length.
std::string Right(std::string_view text, std::int64_t length);
/// From character `start` (1-based) to the end, or `length` characters. Throws Error 5 when
/// start < 1 or length < 0.
std::string Mid(std::string_view text, std::int64_t start,
                std::optional<std::int64_t> length = std::nullopt);
/// Without leading spaces.
std::string LTrim(std::string_view text);
/// Without trailing spaces.
std::string RTrim(std::string_view text);
/// Without leading and trailing spaces (only the space character, as the runtime trims).
std::string Trim(std::string_view text);
/// Lower case, character by character (German umlauts included; the length stays).
std::string LCase(std::string_view text);
/// Upper case, character by character ("ß" stays, so the length stays).
std::string UCase(std::string_view text);
/// `count` spaces.
std::string Space(std::int64_t count);

/// `count` copies of the first character of `character` (the runtime's String function).
/// Throws Error 5 for a negative count or an empty `character`.
std::string Repeat(std::int64_t count, std::string_view character);
/// The text of one character (Chr/ChrW; Chr(0) is the NUL character). Throws Error 5 for
/// negative codes, surrogates and codes beyond U+10FFFF.
std::string Chr(std::int64_t code);
/// The code of the first character (Asc/AscW). Throws Error 5 for an empty text.
std::int32_t Asc(std::string_view text);
/// The characters in reverse order.
std::string StrReverse(std::string_view text);

/// The position of `find` in `text` at or after character `start`, 0 when absent. An empty
/// `find` gives `start` (when start <= Len + 1); an empty text gives 0. Throws Error 5 when
/// start < 1.
std::int64_t InStr(std::int64_t start, std::string_view text, std::string_view find,
                   CompareMethod compare = CompareMethod::Binary);
/// InStr from the first character.
std::int64_t InStr(std::string_view text, std::string_view find,
                   CompareMethod compare = CompareMethod::Binary);
/// The position of the last `find` that ends at or before character `start` (-1: the end),
/// 0 when absent or when start is beyond the text. Throws Error 5 when start is 0 or < -1.
std::int64_t InStrRev(std::string_view text, std::string_view find, std::int64_t start = -1,
                      CompareMethod compare = CompareMethod::Binary);

/// The parts between the delimiters; at most `limit` parts (-1: all), the last one holding the
/// rest. An empty text gives no parts; an empty delimiter gives the whole text as one part.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter = " ",
                               std::int64_t limit = -1,
                               CompareMethod compare = CompareMethod::Binary);
/// The parts joined with the delimiter between them.
std::string Join(const std::vector<std::string>& parts, std::string_view delimiter = " ");
/// `text` from character `start` on, with `find` replaced by `replacement` at most `count`
/// times (-1: all). As in the runtime, the characters before `start` are not part of the
/// result. Throws Error 5 when start < 1 or count < -1.
std::string Replace(std::string_view text, std::string_view find, std::string_view replacement,
                    std::int64_t start = 1, std::int64_t count = -1,
                    CompareMethod compare = CompareMethod::Binary);

/// -1, 0 or 1 as `a` sorts before, equal to or after `b`: Binary by code point, Text by the
/// current locale's collation without regard to case ("ä" sorts between "a" and "b").
int StrComp(std::string_view a, std::string_view b, CompareMethod compare = CompareMethod::Binary);

/// The case-folded text: equal for texts that differ only in case ("Straße" and "STRAßE").
/// Keys of case-insensitive maps use it.
std::string FoldCase(std::string_view text);
/// True when the texts are equal without regard to case.
bool TextEquals(std::string_view a, std::string_view b);

} // namespace platform::runtime
