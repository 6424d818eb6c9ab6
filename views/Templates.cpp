#include "views/Templates.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/Driver.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Notices.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/ResumeNext.h"
#include "views/XmlHandler.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

namespace views {

namespace rt = platform::runtime;
namespace fs = std::filesystem;

namespace {

constexpr const char* kModule = "Templates";
// "The report templates in #0 could not be read (#1). The file was kept unchanged as #2 ..."
constexpr long kResKeptAside = 2291;
// "#0 was changed by another program since it was loaded. That version was kept as #1 ..."
constexpr long kResChangedKept = 2292;
// "The report templates in #0 cannot be read: #1. #2" and its parts: why (a folder, no read
// permission, a pipe or device, another system error #0 #1) and what to do (#0 the file).
constexpr long kResCannotRead = 2330;
constexpr long kResIsFolder = 2331;
constexpr long kResIsFolderHelp = 2332;
constexpr long kResNoReadPermission = 2333;
constexpr long kResNoReadPermissionHelp = 2334;
constexpr long kResSystemError = 2335;
constexpr long kResCheckFileHelp = 2336;
constexpr long kResNotAFile = 2337;
constexpr long kResNotAFileHelp = 2338;
constexpr long kResNoMemory = 2390;
constexpr long kResFreeMemoryHelp = 2391;
constexpr long kResNotWrittenPartly = 2392;
constexpr int kExclamation = 48;

// The resource text lId with its placeholders filled in one pass: a path that holds "#1" or "|"
// itself is shown as it is.
std::string Message(long lId, const std::vector<std::string>& vArgs)
{
    return common::ErrorObject::FillPlaceholdersOnce(common::modLanguage::GetResString(lId), vArgs);
}

// Why a file cannot be read, and what the user can do about it, in the UI language.
std::pair<std::string, std::string> UnreadableReason(const std::string& sPath, int nError)
{
    switch (nError) {
    case EISDIR:
        return {Message(kResIsFolder, {}), Message(kResIsFolderHelp, {sPath})};
    case EACCES:
    case EPERM:
        return {Message(kResNoReadPermission, {}), Message(kResNoReadPermissionHelp, {sPath})};
    default:
        // A rarer failure: the system's own words, with its number for a search.
        return {Message(kResSystemError, {std::to_string(nError), std::strerror(nError)}),
                Message(kResCheckFileHelp, {sPath})};
    }
}

// The user reads this in the message box of the report window that cannot open: the file, why
// it cannot be read and what to do.
[[noreturn]] void RaiseUnreadable(const std::string& sPath, int nError)
{
    const auto [sWhy, sHelp] = UnreadableReason(sPath, nError);
    rt::Raise(rt::errors::PathFileAccess, {}, Message(kResCannotRead, {sPath, sWhy, sHelp}));
}

std::string ReadWholeFile(const std::string& sPath)
{
    // A folder opens as a stream and fails only at the first read, in the library's words.
    std::error_code ec;
    const fs::file_status oStatus = fs::status(sPath, ec);
    if (fs::is_directory(oStatus))
        RaiseUnreadable(sPath, EISDIR);
    // A pipe would hold the start until something writes into it, and a device is no file a
    // save could replace: neither is opened.
    if (fs::exists(oStatus) && !fs::is_regular_file(oStatus))
        rt::Raise(rt::errors::PathFileAccess, {},
                  Message(kResCannotRead,
                          {sPath, Message(kResNotAFile, {}), Message(kResNotAFileHelp, {sPath})}));
    errno = 0;
    std::ifstream oIn(sPath, std::ios::binary);
    if (!oIn)
        RaiseUnreadable(sPath, errno != 0 ? errno : EIO);
    std::string sText;
    try {
        sText.assign(std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        RaiseUnreadable(sPath, errno != 0 ? errno : EIO);
    }
    if (oIn.bad())
        RaiseUnreadable(sPath, errno != 0 ? errno : EIO);
    return sText;
}

// A copy of the user's unreadable file beside it.
struct KeptCopy
{
    std::string sPath;
    bool bNew = false; ///< false when an earlier load had kept the same text already
};

// Keeps the user's unreadable file beside it, never replacing an older copy of it; a text
// kept already by an earlier load is not copied again.
KeptCopy KeepAside(const std::string& sPath, const std::string& sText)
{
    std::string sBackup = sPath + ".bak";
    for (int i = 1; fs::exists(sBackup); ++i) {
        std::error_code ec;
        if (fs::file_size(sBackup, ec) == sText.size() && !ec && ReadWholeFile(sBackup) == sText)
            return {sBackup, false};
        sBackup = sPath + "." + std::to_string(i) + ".bak";
    }
    std::error_code ec;
    fs::copy_file(sPath, sBackup, ec);
    if (ec)
        rt::Raise(rt::errors::PathFileAccess, {}, "Cannot keep a copy of " + sPath);
    return {sBackup, true};
}

// The user would otherwise see a lone "(Standard)" and think the templates lost.
void TellKeptAside(const std::string& sPath, const std::string& sReason, const std::string& sBackup)
{
    const std::string sText = Message(kResKeptAside, {sPath, sReason, sBackup});
    platform::forms::MsgBox(sText, kExclamation, common::ThisDeliverable().sAppTitle);
}

// Another program wrote the file after this collection read it: its version is kept aside
// before the save replaces it, and the user told once where it went.
void KeepChangedVersion(const std::string& sPath, const std::string& sOnDisk)
{
    const KeptCopy oCopy = KeepAside(sPath, sOnDisk);
    if (!oCopy.bNew)
        return;
    const std::string sText = Message(kResChangedKept, {sPath, oCopy.sPath});
    platform::forms::MsgBox(sText, kExclamation, common::ThisDeliverable().sAppTitle);
}

// The file's present text; "" when there is none.
std::string TextOnDisk(const std::string& sPath)
{
    return fs::exists(sPath) ? ReadWholeFile(sPath) : std::string();
}

} // namespace

Templates::~Templates()
{
    ResetChildren();
}

std::string Templates::FilePath()
{
    return common::modMain::GetUserDataPath() + "reports.xml";
}

void Templates::Add(const std::shared_ptr<ViewSettings>& oView)
{
    common::Rethrowing(kModule, "Add", [&] {
        if (!oView)
            rt::Raise(rt::errors::ObjectNotSet);
        m_colViews.Add(oView, oView->Name());
        oView->AsIChild().Init(this, {});
    });
}

void Templates::Insert(const std::shared_ptr<ViewSettings>& oView, std::int32_t lPosition)
{
    common::Rethrowing(kModule, "Insert", [&] {
        if (!oView)
            rt::Raise(rt::errors::ObjectNotSet);
        if (lPosition >= 1 && lPosition <= Count())
            m_colViews.AddBefore(oView, rt::CollectionIndex(lPosition), oView->Name());
        else
            m_colViews.Add(oView, oView->Name());
        oView->AsIChild().Init(this, {});
    });
}

std::int32_t Templates::PositionOf(const ViewSettings& oView) const
{
    std::int32_t lPosition = 0;
    for (const auto& oEach : m_colViews) {
        ++lPosition;
        if (oEach.get() == &oView)
            return lPosition;
    }
    return 0;
}

std::shared_ptr<ViewSettings> Templates::Item(const rt::Variant& Index) const
{
    std::shared_ptr<ViewSettings> oView;
    rt::ResumeNext oSteps;
    oSteps([&] { oView = m_colViews.Item(rt::CollectionIndex(Index)); });
    return oView;
}

void Templates::Load()
{
    const std::string sPath = FilePath();
    try {
        Clear();
        m_sOnDisk.reset();
        m_bLoadedPart = false;
        const std::string sText = TextOnDisk(sPath);
        m_sOnDisk = sText;
        if (sText.empty())
            return;
        XmlHandler oHandler;
        bool bRead = false;
        std::string sNoMemory;
        try {
            bRead = oHandler.Import(sText, *this);
        } catch (const rt::Error& e) {
            if (e.Number() != rt::errors::OutOfMemory)
                throw;
            sNoMemory = e.Description();
        } catch (const std::bad_alloc&) {
            sNoMemory = Message(kResNoMemory, {});
        }
        if (!sNoMemory.empty())
            rt::Raise(rt::errors::OutOfMemory, {},
                      Message(kResCannotRead, {sPath, sNoMemory, Message(kResFreeMemoryHelp, {})}));
        if (!bRead) {
            // Not a report-definition file: no templates and no error for the caller, but the
            // user's file is kept aside, the user told and the failure logged, so that no
            // later save loses it.
            common::Logging(kModule, "Load", [&] {
                const std::string sReason = oHandler.ImportFailure();
                const KeptCopy oCopy = KeepAside(sPath, sText);
                // Told once: a file kept already by an earlier start is only logged again.
                if (oCopy.bNew)
                    TellKeptAside(sPath, sReason, oCopy.sPath);
                rt::Raise(rt::errors::InvalidProcedureCall, {},
                          "\"" + sPath + "\" is no report-definition file (" + sReason +
                              "); it was kept as \"" + oCopy.sPath + "\"");
            });
        }
    } catch (...) {
        // Whatever stopped the load, the collection may lack templates the file holds.
        m_bLoadedPart = true;
        common::ErrorObject oError;
        bool bFlag = false;
        oError.LogError(common::SourceText(kModule, "Load", 0), bFlag);
        // The window shows why and closes; whoever hosts it hears that the file was not read.
        rt::ResumeNext()([&] {
            rt::Notify({rt::Notice::Kind::NotRead, sPath, oError.Description()});
        });
        // The templates read so far may be fewer than the file holds: keep the file aside so
        // that a later save cannot lose the others.
        rt::ResumeNext oSteps;
        oSteps([&] {
            if (fs::exists(sPath))
                KeepAside(sPath, ReadWholeFile(sPath));
        });
        oError.ReRaise();
    }
}

void Templates::Remove(const rt::Variant& Index)
{
    const auto oView = Item(Index);
    if (!oView)
        return;
    oView->AsIChild().ResetParentPtr();
    rt::ResumeNext oSteps;
    oSteps([&] { m_colViews.Remove(rt::CollectionIndex(Index)); });
}

void Templates::Save()
{
    try {
        SaveFile();
    } catch (const rt::Error& e) {
        // The report window's save at closing ignores this: whoever hosts it may tell the user.
        rt::Notify({rt::Notice::Kind::NotWritten, FilePath(), e.Description()});
        throw;
    }
}

void Templates::SaveFile()
{
    common::Rethrowing(kModule, "Save", [&] {
        if (m_bLoadedPart)
            rt::Raise(rt::errors::PathFileAccess, {}, Message(kResNotWrittenPartly, {FilePath()}));
        const std::string sFolder = common::modMain::GetUserDataPath();
        fs::create_directories(sFolder);
        std::string sText;
        XmlHandler oHandler;
        oHandler.Export(sText, *this);
        const std::string sPath = sFolder + "reports.xml";
        if (m_sOnDisk) {
            const std::string sNow = TextOnDisk(sPath);
            if (!sNow.empty() && sNow != *m_sOnDisk && sNow != sText)
                KeepChangedVersion(sPath, sNow);
        }
        rt::ReplacingFile oFile(sPath, "Templates.Save");
        oFile.Write(sText);
        oFile.Commit();
        m_sOnDisk = sText;
    });
}

void Templates::Clear()
{
    if (Count() == 0)
        return;
    ResetChildren();
    m_colViews = Views();
}

void Templates::ResetChildren()
{
    for (const auto& oView : m_colViews)
        if (oView)
            oView->AsIChild().ResetParentPtr();
}

void Templates::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

} // namespace views
