#pragma once

#include <cstdio>
#include <string>

namespace platform::excel::detail {

/// Keeps what a library prints on standard error off the terminal while it works: from
/// construction on, file descriptor 2 writes into a temporary file; Take gives back the text
/// and restores the descriptor (the destructor restores it when Take was not called). The
/// workbook writer prints its failures there, and the caller carries the text in its error.
class CapturedStderr
{
public:
    CapturedStderr();
    ~CapturedStderr();
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;

    /// Ends the capture; what was printed meanwhile.
    std::string Take();

private:
    int saved_ = -1;
    std::FILE* file_ = nullptr;
};

/// The reason in a library's log line ("[ERROR][./src/packager.c:1532]: Error in writing
/// member in the zipfile" gives "Error in writing member in the zipfile"); the lines joined
/// with "; ".
std::string LibraryReasons(const std::string& log);

} // namespace platform::excel::detail
