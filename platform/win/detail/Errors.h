#pragma once

#include "platform/runtime/FileFailure.h"

#include <string>
#include <string_view>

namespace platform::win::detail {

/// Raises the runtime error that fits a failed file operation's errno: 53 file not found,
/// 76 path not found, 70 permission denied, 61 disk full, 58 file already exists, else 75
/// path/file access error. The description names the path; LastDllError carries `error`.
[[noreturn]] void raiseFileError(int error, std::string_view source, const std::string& what);

/// The same error for a file the user named, described in the user's language (see
/// platform::runtime::FileFailureText).
[[noreturn]] void raiseFileFailure(int error, std::string_view source,
                                   platform::runtime::FileAction action, const std::string& path);

/// Raises error 438 "not supported" with a description of what the stand-in cannot do.
[[noreturn]] void raiseNotSupported(std::string_view source, const std::string& what);

} // namespace platform::win::detail
