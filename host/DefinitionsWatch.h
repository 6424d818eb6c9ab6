#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

namespace host {

/// Looks whether the report definitions were written while a command ran. The report
/// window's save at closing ignores its failures, so the host looks at the file itself and
/// tells the person when the template's view was not kept, naming the file and the reason.
class DefinitionsWatch
{
public:
    explicit DefinitionsWatch(std::filesystem::path oFile);

    /// Remembers the file as it is now and forgets the failures noted so far.
    void Begin();
    /// Notes that a save could not write sFile, and why (the writer's notice).
    void NoteNotWritten(const std::string& sFile, const std::string& sWhy);
    /// Notes that a load could not read sFile whole (the loader's notice).
    void NoteNotRead(const std::string& sFile);
    /// Whether a load of the file failed since the watch began.
    bool NotRead() const { return m_bNotRead; }
    /// What to tell the person when the window has closed: that the template keeps its view,
    /// or, when the file was not written since Begin, that the view was not kept, naming the
    /// file and the reason.
    std::string ClosedText();
    /// Whether everything the person asked to keep in the file was kept: false when a save of
    /// it failed (or a closing window did not write it) and no later save wrote it.
    bool Kept() const;

private:
    // What tells one version of the file from another: a save renames a new file into place.
    struct FileState
    {
        bool bExists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::timespec changed{};
        bool operator==(const FileState& o) const;
    };
    FileState StateNow() const;

    std::filesystem::path m_oFile;
    FileState m_oBefore;
    std::string m_sWhy;
    // The file as it was when a save of it failed last; none while every save went through.
    std::optional<FileState> m_oUnkept;
    bool m_bNotRead = false;
};

} // namespace host
