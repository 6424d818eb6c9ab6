#include "engine/detail/cFolder.h"

#include "common/ErrorHandling.h"
#include "common/modRedemption.h"
#include "engine/Application.h"
#include "engine/FolderDataList.h"
#include "engine/Records.h"
#include "engine/detail/Chunks.h"
#include "engine/detail/EngineState.h"
#include "engine/detail/IReadItems.h"
#include "engine/detail/Options.h"
#include "engine/detail/cAppointmentItems.h"
#include "engine/detail/cJournalItems.h"
#include "engine/detail/cTaskItems.h"
#include "platform/runtime/ResumeNext.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/TableFilter.h"
#include "platform/mapi/Utils.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Notices.h"

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

namespace {

// How the error log names a folder of the read: its name and its identity, which tells it from
// another folder of the same name.
// The folder as the error log names it. Folders read from the report definitions carry no
// name: the opened folder's own is taken where there is one.
std::string FolderInLog(const FolderData& oFolder, const std::string& sName)
{
    return "Folder \"" + sName + "\" (entry " + oFolder.EntryID() + ", store " + oFolder.StoreID() +
           ")";
}

// Whoever hosts the add-in hears of each folder the read goes on without, with the error's
// number, so that it need not read the log's words to know, and how many of the folder's
// records the read keeps (those read before the failure), so that it can say what the report
// shows of it.
void TellUnread(const FolderData& oFolder, const std::string& sName, const std::string& sAbout,
                common::ErrorObject& oError, long lKept)
{
    std::string sWhy = oError.Description();
    if (sWhy.rfind(sAbout + ": ", 0) == 0)
        sWhy.erase(0, sAbout.size() + 2);
    rt::Notify({rt::Notice::Kind::FolderUnread, sName, sWhy, oError.Number(), lKept,
                oFolder.EntryID(), oFolder.StoreID()});
}

} // namespace

Application* cFolder::Parent() const
{
    return common::ChildLink<Application>::Parent();
}

cFolder::~cFolder()
{
    rt::ResumeNext()([&] {
        if (m_oUtils)
            m_oUtils->Cleanup();
        m_oUtils.reset();
    });
    rt::ResumeNext()([&] {
        if (m_oTable)
            m_oTable->SetItem(std::shared_ptr<mapi::Items>());
        m_oTable.reset();
    });
    m_oTableFilter.reset();
}

void cFolder::Init(rt::Object* lParentPtr, const std::string& /*sKey*/)
{
    common::Rethrowing("cFolder", "IChild_Init", [&](int& nLine) {
        nLine = 1;
        common::ChildLink<Application>::Init(lParentPtr, {});
        if (Parent() == nullptr)
            throw rt::Error(rt::errors::ObjectNotSet);
        nLine = 2;
        m_oOptions = Parent()->OptionsObject();
        nLine = 3;
        m_oUtils = common::modRedemption::GetSafeUtils();
        nLine = 4;
        m_oTable = CreateTableObject();
    });
}

void cFolder::ReadItems(FolderDataList& oFolderList, const std::shared_ptr<Records>& oRecords)
{
    try {
        common::Rethrowing("cFolder", "ReadItems", [&](int& nLine) {
            nLine = 1;
            m_oRecords = oRecords;
            m_oFilter = oRecords->Filter();
            oRecords->ResetRecords();
            nLine = 2;
            m_aMissing.clear();
            m_pFolderList = &oFolderList;
            nLine = 3;
            m_bTasksOnly = m_oFilter && m_oFilter->FilterOnField() == trDueDate &&
                           m_oFilter->RestrictTime() != trTimeNone;
            nLine = 4;
            if (oFolderList.Count() > 0)
                LoopFolders();
        });
    } catch (...) {
        // The caller's list must not keep folders that are gone, whatever failed.
        RemoveMissingFolders();
        m_pFolderList = nullptr;
        throw;
    }
    RemoveMissingFolders();
    m_pFolderList = nullptr;
}

void cFolder::LoopFolders()
{
    common::Rethrowing("cFolder", "LoopFolders", [&] {
        // Without a session no folder can be told apart from a missing one: the read fails
        // here and the caller's list stays whole.
        common::modRedemption::g_Session();
        m_lChunkSize = m_oOptions ? m_oOptions->ChunkSize : 100;
        ForEachChunk(m_pFolderList->Count(), m_lChunkSize,
                     [&](long lFirst, long lLast) { LoopFoldersEx(lFirst, lLast); });
    });
}

void cFolder::LoopFoldersEx(long lFirst, long lLast)
{
    for (long p = lFirst; p <= lLast; ++p) {
        std::shared_ptr<FolderData> oFolderData;
        rt::ResumeNext()([&] { oFolderData = m_pFolderList->Item(p); });
        if (!oFolderData)
            continue;
        std::shared_ptr<mapi::Folder> oFolder;
        // A folder that fails goes to the error log, named, so that the log tells which of the
        // report's folders was not read; the walk goes on with the next step, so one bad
        // folder never ends the read. Only a folder the store reports as gone leaves the
        // caller's list: one that failed otherwise is still the user's choice.
        const std::string sUnopened = FolderInLog(*oFolderData, oFolderData->Name());
        const bool bOpened = common::LoggingAbout(
            "cFolder", "LoopFoldersEx", sUnopened,
            [&] {
                oFolder = common::modRedemption::OpenFolder(oFolderData->EntryID(),
                                                            oFolderData->StoreID());
            },
            [&](common::ErrorObject& oError) {
                TellUnread(*oFolderData, oFolderData->Name(), sUnopened, oError, 0);
            });
        if (!oFolder) {
            if (bOpened)
                m_aMissing.push_back(p);
            continue;
        }
        std::string sName = oFolderData->Name();
        rt::ResumeNext()([&] { sName = oFolder->Name(); });
        const std::string sAbout = FolderInLog(*oFolderData, sName);
        const long lBefore = m_oRecords ? m_oRecords->Count() : 0;
        common::LoggingAbout(
            "cFolder", "LoopFoldersEx", sAbout,
            [&] {
                if (oFolder->GetItems()->Count() >= 1)
                    ReadItemsEx(oFolder);
            },
            [&](common::ErrorObject& oError) {
                const long lKept = m_oRecords ? m_oRecords->Count() - lBefore : 0;
                TellUnread(*oFolderData, sName, sAbout, oError, lKept);
            });
    }
}

void cFolder::ReadItemsEx(const std::shared_ptr<mapi::Folder>& oFolder)
{
    common::Rethrowing("cFolder", "ReadItemsEx", [&](int& nLine) {
        nLine = 1;
        std::shared_ptr<IReadItems> oReader;
        std::shared_ptr<common::IChild> oChild;
        const long lType = oFolder->DefaultItemType();
        if (lType == mapi::olAppointmentItem && !m_bTasksOnly) {
            auto o = std::make_shared<cAppointmentItems>();
            oReader = o;
            oChild = o;
        } else if (lType == mapi::olTaskItem) {
            auto o = std::make_shared<cTaskItems>();
            oReader = o;
            oChild = o;
        } else if (lType == mapi::olJournalItem && !m_bTasksOnly) {
            auto o = std::make_shared<cJournalItems>();
            oReader = o;
            oChild = o;
        }
        if (!oReader)
            return;
        nLine = 2;
        m_lItemClass = lType;
        oChild->Init(this, {});
        nLine = 3;
        oReader->Initialize(m_oOptions, m_oUtils, m_oRecords);
        nLine = 4;
        // The records hold their own values: the rows the folder's table read for them are
        // let go as soon as the folder is read, before the next folder or the report needs
        // the memory.
        try {
            oReader->Execute(oFolder);
        } catch (...) {
            ReleaseTableRows();
            throw;
        }
        ReleaseTableRows();
    });
}

void cFolder::ReleaseTableRows()
{
    rt::ResumeNext()([&] {
        if (m_oTable)
            m_oTable->SetItem(std::shared_ptr<mapi::Items>());
    });
}

void cFolder::RemoveMissingFolders()
{
    if (m_pFolderList == nullptr)
        return;
    for (auto it = m_aMissing.rbegin(); it != m_aMissing.rend(); ++it)
        rt::ResumeNext()([&] { m_pFolderList->Remove(*it); });
}

} // namespace engine::detail
