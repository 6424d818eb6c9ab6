#pragma once

#include <string>

namespace platform::runtime {

/// Removes what our file writers left in `folder` when their process was killed mid-write:
/// regular files named ".NAME.tmp-PID-..." (the temporary files that a replaced file is
/// written through) whose process PID no longer runs, and files of the older form
/// ".NAME.EXT.XXXXXX" (six letters or digits after a report or settings extension such as
/// .xml, .xlsx, .csv or .html; that form names no process) that nobody has touched for an hour.
/// Files of any other name, folders and links stay; so does every file of a process that
/// still runs, this one included. Failures are ignored. Answers the number of files removed.
int RemoveLeftoverTemporaries(const std::string& folder);

/// The name of a temporary file for writing `name` in the same folder: ".NAME.tmp-PID-" and,
/// for mkstemp, "XXXXXX" to be replaced.
std::string TemporaryNamePattern(const std::string& name);

} // namespace platform::runtime
