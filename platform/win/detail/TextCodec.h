#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::win::detail {

/// The byte encodings a text file of the host may come in.
enum class TextEncoding
{
    Utf8,        ///< UTF-8 without a byte-order mark (also plain ASCII)
    Utf8Bom,     ///< UTF-8 behind the mark EF BB BF
    Utf16Le,     ///< UTF-16 little-endian behind the mark FF FE
    Utf16Be,     ///< UTF-16 big-endian behind the mark FE FF
    Windows1252, ///< legacy 8-bit text: bytes that are not valid UTF-8 and carry no mark
};

/// A file's text as UTF-8 together with the encoding it was found in.
struct DecodedText
{
    std::string text;
    TextEncoding encoding = TextEncoding::Utf8;
};

/// Decodes a file's bytes: a byte-order mark decides; without one, valid UTF-8 is taken as it
/// is and anything else as Windows-1252, so that no byte is lost. The mark is not part of the
/// text. Unpaired UTF-16 surrogates become U+FFFD.
DecodedText decodeText(std::string_view bytes);

/// The encoding that the leading bytes announce by their byte-order mark, or Utf8 without one.
TextEncoding encodingFromMark(std::string_view leadingBytes);

/// Whether a byte-order mark is written in front of the text.
enum class ByteOrderMark
{
    Omit,
    Write
};

/// Encodes UTF-8 text in `encoding`; with ByteOrderMark::Write the mark of a Unicode encoding
/// leads. Windows-1252 text gets characters outside that code page as "?".
std::string encodeText(std::string_view utf8, TextEncoding encoding, ByteOrderMark mark);

/// Full Unicode case folding, for comparisons without regard to case (German text included).
std::string foldCase(std::string_view utf8);

/// Whether two texts are equal without regard to case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

/// The first `count` characters (code points) of UTF-8 text; never splits a character.
std::string_view leadingCharacters(std::string_view utf8, std::size_t count);

/// The number of characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view utf8);

/// The text without blanks (space, tab, CR, LF, VT, FF) at either end.
std::string_view trimBlanks(std::string_view text);

} // namespace platform::win::detail
