#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace host {

/// The folders of the report that the record engine could not read. The engine does not end a
/// read for a folder that fails: it appends the failure, naming the folder, to its error log
/// and goes on with the others. The host reads what each read added to that log and tells the
/// person which folders were not read and why; a run that left a folder unread ends with its
/// own exit code.
class UnreadFolders
{
public:
    /// Watches the engine's error log oLog from what it holds now.
    explicit UnreadFolders(std::filesystem::path oLog);

    /// The folders that the reads since the last call (or since construction) could not read,
    /// one line each with the folder, its store and why, in the host's language; empty when
    /// every folder was read.
    std::vector<std::string> TakeNew();
    /// Whether any read of the run left a folder unread.
    bool Any() const { return m_bAny; }

private:
    std::string LogText() const;

    std::filesystem::path m_oLog;
    std::string m_sSeen;
    bool m_bAny = false;
};

/// The record engine's error log for the settings folder oSettings of the host (the engine keeps
/// its data folder beside it).
std::filesystem::path EngineLogFile(const std::filesystem::path& oSettings);
/// What the person reads about the folders of vLines (from TakeNew): which were not read, that
/// the report shows the others, and where the details are.
std::string UnreadFoldersText(const std::vector<std::string>& vLines,
                              const std::filesystem::path& oLog);
/// Why a folder could not be read, in the host's language, from the failure's description in the
/// log: a sentence naming the cause, then the store's own words.
std::string WhyUnread(const std::string& sDescription);

} // namespace host
