#pragma once

#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace host {

/// The folders that --folder gives a template for one run, and how the template gets its own
/// back however the run ends. Before the run's folders apply, a note beside the report
/// definitions ("reports.xml.run-folders", written through a temporary file) holds the
/// template's own folders and the names of the templates; the end of the run puts the
/// template's own back and removes the note, and a start that finds a note (the run before was
/// killed) does the same before the add-in reads the templates. Folders the person picks and
/// confirms during the run are theirs: the note goes at once.
///
/// A note is its run's while that run lives: the run holds a lock on "reports.xml.lock"
/// beside it (it goes with the process, also with kill -9), and a start of another host on
/// the same settings leaves a locked note alone. The template is followed, not its name: when
/// its name is gone, the one template whose name is new since the run began is taken. A note
/// whose folders were not put back stays.
class RunFolders
{
public:
    /// For the report definitions in oReports.
    explicit RunFolders(std::filesystem::path oReports);
    ~RunFolders();
    RunFolders(const RunFolders&) = delete;
    RunFolders& operator=(const RunFolders&) = delete;

    /// The note beside the report definitions in oReports.
    static std::filesystem::path NoteFile(const std::filesystem::path& oReports);
    /// The file whose lock says that the note's run still lives.
    static std::filesystem::path LockFile(const std::filesystem::path& oReports);

    /// Notes the folders that sTemplate keeps now, before the run gives it others. Nothing
    /// when the template keeps none in the file. Throws std::runtime_error in the host's
    /// language when the note cannot be written or another living run holds one (the run must
    /// not change what it cannot undo).
    void Keep(const std::string& sTemplate);
    /// The person chose the template's folders: they stay, and the note goes.
    void Release();
    /// Gives the template its own folders again and removes the note; nothing when nothing is
    /// kept. When the file cannot be written or the template is not found, says so on out and
    /// leaves the note for the next start; answers false then. May be called again, also from
    /// another thread while a call is under way (no lock is held while the file is written).
    bool PutBack(std::ostream& out);

    /// At a start: puts back the folders that the note of an ended run holds, says so on out in
    /// the host's language, and removes the note. Nothing without a note or while the run that
    /// wrote it lives; a note that cannot be read is removed.
    static void Recover(const std::filesystem::path& oReports, std::ostream& out);

private:
    std::filesystem::path m_oReports;
    std::mutex m_mutex; // guards the members below; never held while a file is written
    std::optional<std::string> m_sTemplate;
    std::string m_sFolders;
    std::vector<std::string> m_vNames; // of the templates when the run began
    int m_fdLock = -1;
};

} // namespace host
