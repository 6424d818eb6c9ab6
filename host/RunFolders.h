#pragma once

#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>

namespace host {

/// The folders that --folder gives a template for one run, and how the template gets its own
/// back however the run ends. Before the run's folders apply, a note beside the report
/// definitions ("reports.xml.run-folders", written through a temporary file) holds the
/// template's own folders; the end of the run puts them back and removes the note, and a start
/// that finds a note (the run before was killed) does the same before the add-in reads the
/// templates. Folders the person picks during the run are theirs: the note goes at once.
class RunFolders
{
public:
    /// For the report definitions in oReports.
    explicit RunFolders(std::filesystem::path oReports);

    /// The note beside the report definitions in oReports.
    static std::filesystem::path NoteFile(const std::filesystem::path& oReports);

    /// Notes the folders that sTemplate keeps now, before the run gives it others. Nothing
    /// when the template keeps none in the file. Throws std::runtime_error in the host's
    /// language when the note cannot be written (the run must not change what it cannot undo).
    void Keep(const std::string& sTemplate);
    /// The person chose the template's folders: they stay, and the note goes.
    void Release();
    /// Gives the template its own folders again and removes the note; nothing when nothing is
    /// kept. When the file cannot be written, says so on out and leaves the note for the next
    /// start; answers false then. May be called again (it does nothing then).
    bool PutBack(std::ostream& out);

    /// At a start: puts back the folders that the note of an ended run holds, says so on out in
    /// the host's language, and removes the note. Nothing without a note; a note that cannot
    /// be read is removed.
    static void Recover(const std::filesystem::path& oReports, std::ostream& out);

private:
    std::filesystem::path m_oReports;
    std::mutex m_mutex; // PutBack may come from the thread that ends the run
    std::optional<std::string> m_sTemplate;
    std::string m_sFolders;
};

} // namespace host
