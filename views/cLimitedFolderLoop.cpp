#include "views/cLimitedFolderLoop.h"

#include "common/ErrorHandling.h"
#include "common/modRedemption.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/ResumeNext.h"

#include <algorithm>
#include <exception>

namespace views {

namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "cLimitedFolderLoop";
}

void cLimitedFolderLoop::Init(ILoopFoldersCallback* oCallback, std::int32_t lChunkSize)
{
    m_oCallback = oCallback;
    m_lChunkSize = std::max<std::int32_t>(lChunkSize, 0);
}

void cLimitedFolderLoop::LoopFolders(engine::FolderDataList& colFolders)
{
    m_colFolders = &colFolders;
    m_aFailed.clear();
    m_aPasses.clear();
    std::exception_ptr pFailure;
    try {
        const std::int32_t n = colFolders.Count();
        // Without a session no folder can be told apart from a missing one.
        if (n > 0)
            common::modRedemption::g_Session();
        if (n <= m_lChunkSize || m_lChunkSize < 1) {
            LoopFoldersEx(1, n);
        } else {
            std::int32_t i = 0;
            for (;;) {
                LoopFoldersEx(i + 1, i + m_lChunkSize);
                i += m_lChunkSize;
                if (i >= n)
                    break;
                if (n - i <= m_lChunkSize)
                    m_lChunkSize = n - i;
            }
        }
    } catch (...) {
        pFailure = std::current_exception();
    }
    RemoveFailedFolders();
    if (pFailure) {
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(pFailure, common::SourceText(kModule, "LoopFolders", 0), bFlag);
        oError.ReRaise();
    }
}

void cLimitedFolderLoop::LoopFoldersEx(std::int32_t lFrom, std::int32_t lTo)
{
    m_aPasses.emplace_back(lFrom, lTo);
    for (std::int32_t p = lFrom; p <= lTo; ++p) {
        std::shared_ptr<engine::FolderData> oData;
        rt::ResumeNext oSteps;
        oSteps([&] { oData = m_colFolders->Item(p); });
        if (!oData)
            continue;
        std::shared_ptr<platform::mapi::Folder> oFolder;
        // A folder that cannot be opened is logged; the walk goes on. Only one the store
        // reports as gone is recorded for removal: a failed session or store says nothing
        // about whether the folder still exists.
        const bool bOpened = common::Logging(kModule, "LoopFoldersEx", [&] {
            oFolder = common::modRedemption::OpenFolder(oData->EntryID(), oData->StoreID());
        });
        if (!oFolder) {
            if (bOpened)
                m_aFailed.push_back(p);
            continue;
        }
        common::Logging(kModule, "LoopFoldersEx", [&] {
            if (m_oCallback)
                m_oCallback->CallFromLoopFolders(oFolder);
        });
    }
}

void cLimitedFolderLoop::RemoveFailedFolders()
{
    if (!m_colFolders)
        return;
    // Highest first, so that the lower recorded positions stay valid.
    for (auto it = m_aFailed.rbegin(); it != m_aFailed.rend(); ++it) {
        rt::ResumeNext oSteps;
        oSteps([&] { m_colFolders->Remove(*it); });
    }
    m_aFailed.clear();
}

} // namespace views
