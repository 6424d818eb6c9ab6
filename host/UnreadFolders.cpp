#include "host/UnreadFolders.h"

#include "host/HostTexts.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreError.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <utility>

namespace host {

namespace fs = std::filesystem;

namespace {

// The engine keeps its data folder, with its error log, under its own application title.
constexpr const char* kEngineTitle = "Fenwick615";
// The procedure of the engine's folder walk, which logs each folder it cannot read.
constexpr const char* kFolderWalk = "cFolder.LoopFoldersEx";
// The part of an earlier log that is looked for when the log was shortened since: a shortened
// log keeps the newest characters only.
constexpr std::size_t kTailToFind = 512;

// One failure of the folder walk as its log record names it.
struct FolderFailure
{
    std::string sName;
    std::string sEntryId;
    std::string sStoreId;
    std::string sWhy;
};

// The value of the record's line that starts with sKey ("  Msg: "), or nothing.
std::optional<std::string> RecordLine(const std::string& sRecord, const std::string& sKey)
{
    const auto nAt = sRecord.find("\r\n" + sKey);
    if (nAt == std::string::npos)
        return std::nullopt;
    const auto nStart = nAt + 2 + sKey.size();
    return sRecord.substr(nStart, sRecord.find("\r\n", nStart) - nStart);
}

std::optional<FolderFailure> FailureOf(const std::string& sRecord)
{
    const auto sSource = RecordLine(sRecord, "  Src: ");
    const auto sMessage = RecordLine(sRecord, "  Msg: ");
    if (!sSource || !sMessage || sSource->find(kFolderWalk) == std::string::npos)
        return std::nullopt;
    static const std::regex oFolder(R"re(^Folder "(.*)" \(entry ([^,()]*), store ([^,()]*)\): )re");
    std::smatch m;
    if (!std::regex_search(*sMessage, m, oFolder))
        return std::nullopt;
    return FolderFailure{m[1], m[2], m[3], m.suffix()};
}

// The log records in sText, each up to its closing empty line.
std::vector<std::string> Records(const std::string& sText)
{
    std::vector<std::string> vRecords;
    std::size_t nStart = 0;
    for (auto nEnd = sText.find("\r\n\r\n"); nEnd != std::string::npos;
         nEnd = sText.find("\r\n\r\n", nStart)) {
        vRecords.push_back(sText.substr(nStart, nEnd + 2 - nStart));
        nStart = nEnd + 4;
    }
    return vRecords;
}

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
std::string FolderPlace(const FolderFailure& oFailure)
{
    namespace st = platform::store;
    const std::string sName = oFailure.sName.empty() ? oFailure.sEntryId : oFailure.sName;
    try {
        const auto oProfile = st::Profile::Open(platform::mapi::CurrentProfile());
        for (const auto& [sEntryId, sFile] : oProfile->StoreFiles()) {
            if (sEntryId != oFailure.sStoreId)
                continue;
            try {
                const auto oStore = oProfile->OpenStore(sEntryId);
                std::string sPath;
                // The store's root folder is the store itself in a path.
                for (auto oFolder = oStore->FindFolder(oFailure.sEntryId);
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

UnreadFolders::UnreadFolders(fs::path oLog) : m_oLog(std::move(oLog)), m_sSeen(LogText()) {}

std::string UnreadFolders::LogText() const
{
    std::ifstream oIn(m_oLog, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

std::vector<std::string> UnreadFolders::TakeNew()
{
    const std::string sNow = LogText();
    std::string sAdded;
    if (sNow.compare(0, m_sSeen.size(), m_sSeen) == 0) {
        sAdded = sNow.substr(m_sSeen.size());
    } else {
        // The log was shortened to its newest part: what follows the end seen last is new.
        const std::string sTail =
            m_sSeen.substr(m_sSeen.size() - std::min(m_sSeen.size(), kTailToFind));
        const auto nAt = sTail.empty() ? std::string::npos : sNow.rfind(sTail);
        sAdded = nAt == std::string::npos ? sNow : sNow.substr(nAt + sTail.size());
    }
    m_sSeen = sNow;

    std::vector<std::string> vLines;
    std::set<std::pair<std::string, std::string>> oTold;
    for (const auto& sRecord : Records(sAdded)) {
        const auto oFailure = FailureOf(sRecord);
        if (!oFailure || !oTold.insert({oFailure->sEntryId, oFailure->sStoreId}).second)
            continue;
        vLines.push_back(FolderPlace(*oFailure) + ": " + WhyUnread(oFailure->sWhy));
    }
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

std::string WhyUnread(const std::string& sDescription)
{
    struct Cause
    {
        std::array<const char*, 4> aMarks;
        HostText eText;
    };
    // SQLite's words for its failures, in the order they are looked for.
    static const std::array kCauses = {
        Cause{{"malformed", "not a database", "no such table", "no such column"},
              HostText::UnreadDamaged},
        Cause{{"locked", "busy", nullptr, nullptr}, HostText::UnreadInUse},
        Cause{{"unable to open", "cannot open", "readonly", nullptr}, HostText::UnreadNotOpened},
        Cause{{"disk I/O", nullptr, nullptr, nullptr}, HostText::UnreadDiskError},
    };
    for (const auto& oCause : kCauses)
        for (const char* pMark : oCause.aMarks)
            if (pMark && sDescription.find(pMark) != std::string::npos)
                return Say(oCause.eText, {sDescription});
    return Say(HostText::UnreadOther, {sDescription});
}

} // namespace host
