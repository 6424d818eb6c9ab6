#include "host/UnreadFolders.h"

#include "host/HostTexts.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/ErrorNumbers.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreError.h"

#include <algorithm>
#include <map>
#include <utility>

namespace host {

namespace fs = std::filesystem;

namespace {

// The engine keeps its data folder, with its error log, under its own application title.
constexpr const char* kEngineTitle = "Fenwick615";

// A name of a folder path as --folder and the folder picker take it: "/" and "\\" escaped.
std::string PathName(const std::string& sName)
{
    std::string sOut;
    for (const char ch : sName) {
        if (ch == '/' || ch == '\\')
            sOut += '\\';
        sOut += ch;
    }
    return sOut;
}

// Where the person finds the failed folder: its path "Store/Folder/Subfolder" in the current
// profile; else, when its store cannot be opened (a damaged one), the folder's name and the
// store's file; else its name or entry id alone.
std::string FolderPlace(const platform::runtime::Notice& oFailure)
{
    namespace st = platform::store;
    const std::string sName = oFailure.subject.empty() ? oFailure.entryId : oFailure.subject;
    try {
        const auto oProfile = st::Profile::Open(platform::mapi::CurrentProfile());
        for (const auto& [sEntryId, sFile] : oProfile->StoreFiles()) {
            if (sEntryId != oFailure.storeId)
                continue;
            try {
                const auto oStore = oProfile->OpenStore(sEntryId);
                std::string sPath;
                // The store's root folder is the store itself in a path.
                for (auto oFolder = oStore->FindFolder(oFailure.entryId);
                     oFolder && !oFolder->parentEntryId.empty();
                     oFolder = oStore->FindFolder(oFolder->parentEntryId))
                    sPath = "/" + PathName(oFolder->name) + sPath;
                if (!sPath.empty())
                    return Say(HostText::FolderPath, {PathName(oStore->Name()) + sPath});
            } catch (const st::StoreError&) {
                return Say(HostText::FolderInStoreFile, {sName, sFile});
            }
        }
    } catch (const st::StoreError&) {
        // The failure itself names the file; the folder's name stays the guide.
    }
    return Say(HostText::FolderPath, {sName});
}

} // namespace

void UnreadFolders::Note(const platform::runtime::Notice& oNotice)
{
    if (oNotice.kind == platform::runtime::Notice::Kind::FolderUnread)
        m_vNew.push_back(oNotice);
}

std::vector<std::string> UnreadFolders::TakeNew()
{
    // A folder that failed twice in one read (its opening and its items, or a refresh) is one
    // folder the report lacks, told by its first failure; the report shows the most rows of it
    // that any of its reads kept.
    std::vector<std::pair<const platform::runtime::Notice*, long>> vFolders;
    std::map<std::pair<std::string, std::string>, std::size_t> oAt;
    for (const auto& oFailure : m_vNew) {
        const auto [it, bNew] =
            oAt.emplace(std::pair{oFailure.entryId, oFailure.storeId}, vFolders.size());
        if (bNew)
            vFolders.emplace_back(&oFailure, oFailure.max);
        else
            vFolders[it->second].second = std::max(vFolders[it->second].second, oFailure.max);
    }
    std::vector<std::string> vLines;
    for (const auto& [pFailure, lShown] : vFolders)
        vLines.push_back(FolderPlace(*pFailure) + ": " +
                         WhyUnread(pFailure->value, pFailure->detail) + "; " +
                         (lShown > 0 ? Say(HostText::UnreadRowsShown, {std::to_string(lShown)})
                                     : Say(HostText::UnreadNoRowsShown)));
    m_vNew.clear();
    m_bAny = m_bAny || !vLines.empty();
    return vLines;
}

fs::path EngineLogFile(const fs::path& oSettings)
{
    return oSettings.parent_path() / kEngineTitle / "error.txt";
}

std::string UnreadFoldersText(const std::vector<std::string>& vLines, const fs::path& oLog)
{
    std::string sText = Say(HostText::FoldersUnread, {std::to_string(vLines.size())}) + "\n";
    for (const auto& sLine : vLines)
        sText += "  " + sLine + "\n";
    return sText + Say(HostText::FoldersUnreadDetails, {oLog.string()}) + "\n";
}

std::string WhyUnread(long lNumber, const std::string& sDescription)
{
    namespace mapi = platform::mapi;
    switch (lNumber) {
    case mapi::MAPI_E_CORRUPT_DATA:
        return Say(HostText::UnreadDamaged, {sDescription});
    case mapi::MAPI_E_BUSY:
        return Say(HostText::UnreadInUse, {sDescription});
    case mapi::MAPI_E_NO_ACCESS:
        return Say(HostText::UnreadNotOpened, {sDescription});
    case mapi::MAPI_E_DISK_ERROR:
    case mapi::MAPI_E_NOT_ENOUGH_DISK:
        return Say(HostText::UnreadDiskError, {sDescription});
    default:
        return Say(HostText::UnreadOther, {sDescription});
    }
}

} // namespace host
