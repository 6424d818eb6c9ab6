#include "platform/runtime/Utf8.h"

#include <unicode/utf8.h>

#include <cstdint>
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

} // namespace platform::runtime
