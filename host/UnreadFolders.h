#pragma once

#include "platform/runtime/Notices.h"

#include <filesystem>
#include <string>
#include <vector>

namespace host {

/// The folders of the report that the record engine could not read. The engine does not end a
/// read for a folder that fails: it logs the failure and tells whoever hosts it (a notice of
/// kind FolderUnread, with the error's number), then goes on with the others. The host notes
/// each and tells the person which folders were not read and why; a run that left a folder
/// unread ends with its own exit code.
class UnreadFolders
{
public:
    /// Notes the folder of a FolderUnread notice; other notices are not for it.
    void Note(const platform::runtime::Notice& oNotice);
    /// The folders noted since the last call, one line each with the folder, its store and
    /// why, in the host's language, each folder once however often it failed; empty when
    /// every folder was read.
    std::vector<std::string> TakeNew();
    /// Whether any read of the run left a folder unread.
    bool Any() const { return m_bAny; }

private:
    std::vector<platform::runtime::Notice> m_vNew;
    bool m_bAny = false;
};

/// The record engine's error log for the settings folder oSettings of the host (the engine keeps
/// its data folder beside it).
std::filesystem::path EngineLogFile(const std::filesystem::path& oSettings);
/// What the person reads about the folders of vLines (from TakeNew): which were not read, that
/// the report shows the others, and where the details are.
std::string UnreadFoldersText(const std::vector<std::string>& vLines,
                              const std::filesystem::path& oLog);
/// Why a folder could not be read, in the host's language: a sentence naming the cause by the
/// error's number (the messaging library's number for each cause of a store file's failure),
/// then the store's own words from sDescription.
std::string WhyUnread(long lNumber, const std::string& sDescription);

} // namespace host
