#include "platform/xml/detail/TextCodec.h"

#include "platform/locale/Locale.h"

#include <cstdint>

namespace platform::xml::detail {
namespace {

// A reason in the current locale's language: it reaches the person inside others' messages.
std::string Say(std::string german, std::string english)
{
    return platform::locale::InCurrentLanguage(std::move(german), std::move(english));
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool Fail(ParseError& error, std::string reason)
{
    error.ErrorCode = ParseError::BadEncoding;
    error.Reason = std::move(reason);
    return false;
}

bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out, ParseError& error)
{
    if (bytes.size() % 2 != 0) {
        return Fail(error, Say("der UTF-16-Text endet mitten in einem Zeichen",
                               "the UTF-16 text ends in the middle of a character"));
    }
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (i + 3 >= bytes.size() || unit(i + 2) < 0xDC00 || unit(i + 2) > 0xDFFF) {
                return Fail(error,
                            Say("der UTF-16-Text enthält ein Ersatzzeichen ohne sein Gegenstück",
                                "the UTF-16 text holds an unpaired surrogate"));
            }
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return Fail(error, Say("der UTF-16-Text enthält ein Ersatzzeichen ohne sein Gegenstück",
                                   "the UTF-16 text holds an unpaired surrogate"));
        }
        AppendUtf8(out, cp);
    }
    return true;
}

// Length of the UTF-8 sequence at s[i], or 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        return 1;
    }
    std::size_t n = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        n = 2, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    const bool overlong =
        (n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return n;
}

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

std::optional<char32_t> ParseCharRef(std::string_view body)
{
    // body is what stands between "&#" and ";".
    const bool hex = !body.empty() && body[0] == 'x';
    const std::string_view digits = hex ? body.substr(1) : body;
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        }
        if (d < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    }
    // Control characters are accepted so that what the serialiser writes as &#1; reads back.
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return static_cast<char32_t>(value);
}

} // namespace

std::optional<std::string> DecodeToUtf8(std::string_view bytes, ParseError& error)
{
    std::string out;
    auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    if (starts("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    } else if (starts("\xFF\xFE")) {
        return Utf16ToUtf8(bytes.substr(2), false, out, error) ? std::optional(out) : std::nullopt;
    } else if (starts("\xFE\xFF")) {
        return Utf16ToUtf8(bytes.substr(2), true, out, error) ? std::optional(out) : std::nullopt;
    } else if (starts(std::string_view("<\0", 2))) {
        return Utf16ToUtf8(bytes, false, out, error) ? std::optional(out) : std::nullopt;
    } else if (starts(std::string_view("\0<", 2))) {
        return Utf16ToUtf8(bytes, true, out, error) ? std::optional(out) : std::nullopt;
    }
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Utf8SequenceLength(bytes, i);
        if (n == 0) {
            Fail(error, Say("der Text ist kein gültiges UTF-8", "the text is not valid UTF-8"));
            LocateOffset(bytes, i, error);
            return std::nullopt;
        }
        i += n;
    }
    return std::string(bytes);
}

std::optional<Unholdable> FirstUnholdable(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r') {
                return Unholdable{i, 1, true};
            }
            ++i;
            continue;
        }
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) {
            return Unholdable{i, 1, false};
        }
        // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
        if (n == 3 && c == 0xEF && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
            static_cast<unsigned char>(text[i + 2]) >= 0xBE) {
            return Unholdable{i, 3, true};
        }
        i += n;
    }
    return std::nullopt;
}

std::optional<EntityProblem> ExpandEntities(std::string& raw)
{
    const std::size_t first = raw.find('&');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    std::string out = raw.substr(0, first);
    for (std::size_t i = first; i < raw.size();) {
        if (raw[i] != '&') {
            out += raw[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < raw.size() && (IsNameChar(raw[end]) || (end == i + 1 && raw[end] == '#'))) {
            ++end;
        }
        if (end >= raw.size() || raw[end] != ';' || end == i + 1) {
            return EntityProblem{
                Say("„&“ muss einen Entitäts- oder Zeichenverweis beginnen, der auf „;“ endet",
                    "'&' must begin an entity or character reference ending in ';'"),
                i};
        }
        const std::string_view name(raw.data() + i + 1, end - i - 1);
        if (name == "amp") {
            out += '&';
        } else if (name == "lt") {
            out += '<';
        } else if (name == "gt") {
            out += '>';
        } else if (name == "quot") {
            out += '"';
        } else if (name == "apos") {
            out += '\'';
        } else if (name[0] == '#') {
            const auto cp = ParseCharRef(name.substr(1));
            if (!cp) {
                return EntityProblem{
                    Say("ungültiger Zeichenverweis „&" + std::string(name) + ";“",
                        "invalid character reference '&" + std::string(name) + ";'"),
                    i};
            }
            AppendUtf8(out, *cp);
        } else {
            return EntityProblem{Say("nicht definierte Entität „&" + std::string(name) +
                                         ";“ (nur die vordefinierten Entitäten werden aufgelöst)",
                                     "undefined entity '&" + std::string(name) +
                                         ";' (only the predefined entities are expanded)"),
                                 i};
        }
        i = end + 1;
    }
    raw = std::move(out);
    return std::nullopt;
}

void LocateOffset(std::string_view text, std::size_t offset, ParseError& error)
{
    long line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    error.Line = line;
    error.LinePos = static_cast<long>(offset - lineStart) + 1;
}

} // namespace platform::xml::detail
