#pragma once

#include <filesystem>
#include <string>

namespace platform::printing::detail {

/// A temporary folder of a print: made for the user alone (0700) under the system's temporary
/// folder (the one TMPDIR names when it is set and not empty, else /tmp), named
/// "<stem>-XXXXXX", and removed with everything in it when the object goes, on every path out
/// of its owner (a constructor that throws included).
class PrintFolder
{
public:
    /// Makes the folder. Throws platform::runtime::Error 75 when none can be made.
    explicit PrintFolder(const std::string& stem);
    ~PrintFolder();
    PrintFolder(const PrintFolder&) = delete;
    PrintFolder& operator=(const PrintFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// Makes a folder inside, also for the user alone, and answers its path. Throws
    /// platform::runtime::Error 75 when it cannot be made.
    std::filesystem::path Folder(const std::filesystem::path& relative) const;

private:
    std::filesystem::path path_;
};

} // namespace platform::printing::detail
