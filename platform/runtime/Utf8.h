#pragma once

#include <string>
#include <string_view>

namespace platform::runtime {

/// Whether `text` is well-formed UTF-8 (no stray or missing continuation bytes, no overlong
/// forms, no encoded surrogates, nothing beyond U+10FFFF).
bool IsValidUtf8(std::string_view text) noexcept;

/// Makes `text` well-formed UTF-8 in place: each ill-formed sequence (its longest start that
/// could still have become a character, or one stray byte) becomes U+FFFD; every character
/// around it stays. A well-formed text is left untouched and costs one pass.
void MakeValidUtf8(std::string& text);

} // namespace platform::runtime
