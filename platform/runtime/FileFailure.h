#pragma once

#include <string>

namespace platform::runtime {

/// What was done with a file when the system refused it.
enum class FileAction
{
    Read,
    Write,
    Create,
    Delete,
};

/// A failed file operation as a sentence for the user, in the language of the current locale
/// (German for a German locale, English otherwise), naming the file and, for the common
/// failures (no permission, read-only file system, disk full, not found, exists already, is a
/// folder, a part of the path is no folder), saying what happened in plain words; any other
/// failure carries the system's own text.
std::string FileFailureText(int error, FileAction action, const std::string& path);

} // namespace platform::runtime
