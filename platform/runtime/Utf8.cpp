#include "platform/runtime/Utf8.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace platform::runtime {
namespace {

// The length of the ASCII run at the start of `text`, eight bytes at a time.
std::size_t AsciiPrefix(std::string_view text) noexcept
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t block = 0;
        std::memcpy(&block, text.data() + i, sizeof block);
        if ((block & 0x8080808080808080ULL) != 0) {
            break;
        }
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) {
        ++i;
    }
    return i;
}

// The offset of the first ill-formed sequence, or the text's size.
std::size_t FirstInvalid(std::string_view text) noexcept
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = static_cast<std::int32_t>(AsciiPrefix(text));
    while (i < length) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            return static_cast<std::size_t>(start);
        }
    }
    return text.size();
}

// Control characters and the two non-characters at the end of the first plane: no name holds
// them, and a terminal or a mail's header would take some of them as orders.
bool NameRefuses(UChar32 c) noexcept
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF;
}

// Calls `found(offset, length, code)` for each refused character of `text` (code -1 for a
// byte that is not UTF-8) until it answers false.
template <class Found> void EachNameRefused(std::string_view text, Found found)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if ((c < 0 || NameRefuses(c)) &&
            !found(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start), c))
            return;
    }
}

} // namespace

bool IsValidUtf8(std::string_view text) noexcept
{
    return FirstInvalid(text) == text.size();
}

void MakeValidUtf8(std::string& text)
{
    const std::size_t first = FirstInvalid(text);
    if (first == text.size()) {
        return;
    }
    std::string out(text, 0, first);
    out.reserve(text.size() + 8);
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = static_cast<std::int32_t>(first);
    while (i < length) {
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            out += "\xEF\xBF\xBD";
        } else {
            out.append(text, static_cast<std::size_t>(start), static_cast<std::size_t>(i - start));
        }
    }
    text = std::move(out);
}

std::optional<NameRefusedCharacter> FirstNameRefusedCharacter(std::string_view text)
{
    std::optional<NameRefusedCharacter> first;
    EachNameRefused(text, [&](std::size_t offset, std::size_t length, UChar32 c) {
        char shown[16] = {};
        if (c < 0)
            std::snprintf(shown, sizeof shown, "\\x%02X", static_cast<unsigned char>(text[offset]));
        else
            std::snprintf(shown, sizeof shown, "U+%04X", static_cast<unsigned>(c));
        first = NameRefusedCharacter{offset, c < 0 ? 1 : length, shown};
        return false;
    });
    return first;
}

std::string NameRefusedCharactersMarked(std::string_view text)
{
    std::string out;
    std::size_t from = 0;
    EachNameRefused(text, [&](std::size_t offset, std::size_t length, UChar32) {
        out.append(text.substr(from, offset - from));
        out += "\xEF\xBF\xBD";
        from = offset + length;
        return true;
    });
    out.append(text.substr(from));
    return out;
}

} // namespace platform::runtime
