#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform::win {

/// The buffer the system hands to the profile read: 255 characters, so at most 254 come back.
inline constexpr std::size_t kProfileBufferSize = 255;

/// Reads a key of an INI file with the host's profile-string rules:
/// - sections and keys match without regard to case and to blanks around them;
/// - the value loses the blanks around it, and one pair of matching quotes (" or ') that
///   encloses it whole;
/// - a missing file, section or key, or a key line without "=", gives `defaultValue` (less
///   its trailing blanks); an existing key with an empty value gives empty text;
/// - at most bufferSize - 1 characters come back (a value cut there keeps its closing quote).
/// Lines starting with ";" or "#" are comments. The file may be UTF-8 or UTF-16 with a mark.
/// Never throws; an unreadable file counts as missing.
std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize = kProfileBufferSize);

/// Sets a key of an INI file as the host's profile write does: updates the key in place,
/// keeping every other line (keys, comments, blank lines, order); adds a missing key at the
/// end of its section, a missing section at the end of the file, and creates a missing file
/// (not its folder). The file keeps its encoding (UTF-16 stays UTF-16; an 8-bit legacy file
/// becomes UTF-8) and is replaced through a temporary file and a rename.
/// Returns false with errno set when it fails: EINVAL for a section, key or value that would
/// break the file's structure (line breaks, an empty key, a key with "=" or starting with
/// "[", ";" or "#", a section with "]"), or the error of the failing file operation.
bool writeProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

/// Removes a key from its section (the profile write with no value). True when the file
/// holds no such key afterwards, also when it never did; false with errno set on failure.
bool deleteProfileKey(const std::filesystem::path& file, std::string_view section,
                      std::string_view key);

/// Removes a section with all its lines (the profile write with no key). True when the file
/// holds no such section afterwards; false with errno set on failure.
bool deleteProfileSection(const std::filesystem::path& file, std::string_view section);

} // namespace platform::win
