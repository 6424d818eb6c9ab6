#include "platform/win/detail/TextCodec.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

namespace platform::win::detail {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool isValidUtf8(std::string_view bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    // Preflighting reports an overflow for valid input and an invalid character otherwise.
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

std::string fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::vector<char16_t> units(bytes.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
        const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    icu::UnicodeString text(units.data(), static_cast<int32_t>(units.size()));
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

std::string toUtf16(std::string_view utf8, bool bigEndian)
{
    const auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), utf8.size()));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.length()) * 2);
    for (int32_t i = 0; i < text.length(); ++i) {
        const auto unit = text.charAt(i);
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

struct ConverterCloser
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

std::string convertWindows1252(std::string_view bytes, bool toUtf8)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open("windows-1252", &status));
    if (U_FAILURE(status)) {
        return std::string(bytes);
    }
    if (toUtf8) {
        icu::UnicodeString text(bytes.data(), static_cast<int32_t>(bytes.size()), converter.get(),
                                status);
        std::string utf8;
        text.toUTF8String(utf8);
        return utf8;
    }
    const auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(bytes.data(), bytes.size()));
    std::string out(static_cast<std::size_t>(text.length()) * 2 + 1, '\0');
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    const int32_t written =
        ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                        text.getBuffer(), text.length(), &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(written) : 0);
    return out;
}

} // namespace

TextEncoding encodingFromMark(std::string_view leadingBytes)
{
    if (leadingBytes.starts_with(kUtf8Mark)) {
        return TextEncoding::Utf8Bom;
    }
    if (leadingBytes.starts_with(kUtf16LeMark)) {
        return TextEncoding::Utf16Le;
    }
    if (leadingBytes.starts_with(kUtf16BeMark)) {
        return TextEncoding::Utf16Be;
    }
    return TextEncoding::Utf8;
}

DecodedText decodeText(std::string_view bytes)
{
    switch (encodingFromMark(bytes)) {
    case TextEncoding::Utf8Bom:
        return {std::string(bytes.substr(kUtf8Mark.size())), TextEncoding::Utf8Bom};
    case TextEncoding::Utf16Le:
        return {fromUtf16(bytes.substr(2), false), TextEncoding::Utf16Le};
    case TextEncoding::Utf16Be:
        return {fromUtf16(bytes.substr(2), true), TextEncoding::Utf16Be};
    default:
        break;
    }
    if (isValidUtf8(bytes)) {
        return {std::string(bytes), TextEncoding::Utf8};
    }
    return {convertWindows1252(bytes, true), TextEncoding::Windows1252};
}

std::string encodeText(std::string_view utf8, TextEncoding encoding, ByteOrderMark mark)
{
    const bool withMark = mark == ByteOrderMark::Write;
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return (withMark ? std::string(kUtf8Mark) : std::string()) + std::string(utf8);
    case TextEncoding::Utf16Le:
        return (withMark ? std::string(kUtf16LeMark) : std::string()) + toUtf16(utf8, false);
    case TextEncoding::Utf16Be:
        return (withMark ? std::string(kUtf16BeMark) : std::string()) + toUtf16(utf8, true);
    case TextEncoding::Windows1252:
        return convertWindows1252(utf8, false);
    case TextEncoding::Utf8:
        break;
    }
    return std::string(utf8);
}

std::string foldCase(std::string_view utf8)
{
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), utf8.size()));
    text.foldCase(U_FOLD_CASE_DEFAULT);
    std::string folded;
    text.toUTF8String(folded);
    return folded;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return a == b || foldCase(a) == foldCase(b);
}

std::string_view leadingCharacters(std::string_view utf8, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < utf8.size(); ++n) {
        ++pos;
        // Continuation bytes (10xxxxxx) belong to the character already counted.
        while (pos < utf8.size() && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) {
            ++pos;
        }
    }
    return utf8.substr(0, pos);
}

std::size_t characterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::string_view trimBlanks(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

} // namespace platform::win::detail
