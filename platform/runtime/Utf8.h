#pragma once

#include <cstddef>
#include <optional>
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

/// A character of a text that no file or folder name may hold.
struct NameRefusedCharacter
{
    std::size_t offset = 0; ///< its byte offset in the text
    std::size_t length = 1; ///< its length in bytes
    std::string shown;      ///< "U+0001" for a character, "\xFC" for a byte that is not UTF-8
};

/// The first character of `text` that a file or folder name cannot hold on any system the
/// name may reach (a file system, a mail's attachment, a print queue, the report definitions):
/// a byte outside well-formed UTF-8, a C0 control character (NUL, tab, line feed and carriage
/// return among them), DEL, a C1 control character, U+FFFE or U+FFFF. Nothing when there is
/// none.
std::optional<NameRefusedCharacter> FirstNameRefusedCharacter(std::string_view text);

/// `text` with every character FirstNameRefusedCharacter refuses replaced by U+FFFD, so that
/// a message can show the name without handing the control characters on.
std::string NameRefusedCharactersMarked(std::string_view text);

} // namespace platform::runtime
