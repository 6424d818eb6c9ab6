#include "platform/excel/detail/Xstring.h"

#include <unicode/utf8.h>

#include <cstdint>

namespace platform::excel::detail {
namespace {

int HexValue(char c) noexcept
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The unit of an "_xHHHH_" at `pos`, or -1.
long EscapeAt(std::string_view text, std::size_t pos) noexcept
{
    if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') {
        return -1;
    }
    long unit = 0;
    for (std::size_t k = 2; k < 6; ++k) {
        const int digit = HexValue(text[pos + k]);
        if (digit < 0) {
            return -1;
        }
        unit = unit * 16 + digit;
    }
    return unit;
}

bool IsUnsafeControl(char c) noexcept
{
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 && c != '\t' && c != '\n';
}

// U+FFFE or U+FFFF at `pos` of a valid UTF-8 text: EF BF BE or EF BF BF.
bool NonXmlCharacterAt(std::string_view text, std::size_t pos) noexcept
{
    return pos + 2 < text.size() && text[pos] == '\xEF' && text[pos + 1] == '\xBF' &&
           (text[pos + 2] == '\xBE' || text[pos + 2] == '\xBF');
}

void AppendUnitEscape(std::string& out, unsigned unit)
{
    static const char kDigits[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kDigits[(unit >> shift) & 0xF];
    }
    out += '_';
}

void AppendUtf8(std::string& out, char32_t c)
{
    std::uint8_t buffer[U8_MAX_LENGTH];
    std::int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, static_cast<UChar32>(c));
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

std::string Escape(std::string_view text, bool controls)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && EscapeAt(text, i) >= 0) {
            out += "_x005F_";
            continue; // the "x" and digits follow as they are
        }
        if (controls && IsUnsafeControl(text[i])) {
            AppendUnitEscape(out, static_cast<unsigned char>(text[i]));
            continue;
        }
        if (NonXmlCharacterAt(text, i)) {
            // No XML may hold it, but its escape brings it back to a reader as it was.
            AppendUnitEscape(out, text[i + 2] == '\xBE' ? 0xFFFE : 0xFFFF);
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace

bool HasNonXmlCharacter(std::string_view text) noexcept
{
    for (auto pos = text.find('\xEF'); pos != std::string_view::npos;
         pos = text.find('\xEF', pos + 1)) {
        if (NonXmlCharacterAt(text, pos)) {
            return true;
        }
    }
    return false;
}

bool HasLiteralEscape(std::string_view text) noexcept
{
    for (auto pos = text.find("_x"); pos != std::string_view::npos;
         pos = text.find("_x", pos + 1)) {
        if (EscapeAt(text, pos) >= 0) {
            return true;
        }
    }
    return false;
}

std::string EscapeLiteralEscapes(std::string_view text)
{
    return Escape(text, false);
}

bool NeedsXstringEscape(std::string_view text) noexcept
{
    for (char c : text) {
        if (IsUnsafeControl(c)) {
            return true;
        }
    }
    return HasLiteralEscape(text) || HasNonXmlCharacter(text);
}

std::string EscapeXstring(std::string_view text)
{
    return Escape(text, true);
}

std::string DecodeXstring(std::string_view text)
{
    if (text.find("_x") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const long unit = EscapeAt(text, i);
        if (unit < 0) {
            out += text[i++];
            continue;
        }
        i += 7;
        char32_t c = static_cast<char32_t>(unit);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const long low = EscapeAt(text, i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                    (static_cast<char32_t>(low) - 0xDC00);
                i += 7;
            } else {
                c = 0xFFFD;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace platform::excel::detail
