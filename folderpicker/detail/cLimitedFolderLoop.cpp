#include "folderpicker/detail/cLimitedFolderLoop.h"

#include "common/ErrorHandling.h"
#include "folderpicker/Dialog.h"
#include "folderpicker/Enumerations.h"
#include "folderpicker/Item.h"
#include "folderpicker/Stores.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/runtime/Variant.h"

#include <algorithm>
#include <array>
#include <string>

namespace folderpicker::detail {

namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "cLimitedFolderLoop";

// The mask bit of each store kind number of the messaging library; the two forms of personal
// folder file share one bit.
constexpr std::array<std::int32_t, 10> kKindBits = {fskUnknown,
                                                    fskPST,
                                                    fskPST,
                                                    fskPrimaryExchangeMailbox,
                                                    fskDelegateExchangeMailbox,
                                                    fskPublicFolders,
                                                    fskBCM,
                                                    fskIMAP4,
                                                    fskHotmail,
                                                    fskEAS};
} // namespace

void cLimitedFolderLoop::Init(Dialog* oDialog, platform::forms::FlexGrid* oGrid, long lChunkSize)
{
    m_bErrorOccured = false;
    m_colResult.clear();
    m_oDialog = oDialog;
    m_oGrid = oGrid;
    m_lChunkSize = std::max(lChunkSize, 0L);
}

void cLimitedFolderLoop::NewResult()
{
    m_colResult.clear();
}

bool cLimitedFolderLoop::IsStoreKindShown(long lKind, std::int32_t lShowStoreKind)
{
    if (lKind < 0 || lKind >= static_cast<long>(kKindBits.size()))
        return false;
    return (lShowStoreKind & kKindBits[static_cast<std::size_t>(lKind)]) != 0;
}

// Passes over 1..n of the chunk size; the last pass covers exactly the rest, and that shorter
// size stays for the loops after it.
template <class Pass> void cLimitedFolderLoop::ForEachChunk(long n, Pass&& pass)
{
    if (m_lChunkSize <= 0 || m_lChunkSize >= n) {
        pass(1L, n);
        return;
    }
    long s = 0;
    for (;;) {
        const long e = s + m_lChunkSize;
        pass(s + 1, e);
        if (e >= n)
            break;
        if (m_lChunkSize >= n - e)
            m_lChunkSize = n - e;
        s = e;
    }
}

void cLimitedFolderLoop::LoopFolders(const std::shared_ptr<platform::mapi::Folders>& Folders,
                                     long Level)
{
    common::Rethrowing(kModule, "LoopFolders", [&] {
        m_bErrorOccured = false;
        m_oFolders = Folders;
        const long n = m_oFolders ? m_oFolders->Count() : 0;
        ForEachChunk(n, [&](long lFirst, long lLast) { LoopFoldersEx(Level, lFirst, lLast); });
    });
}

void cLimitedFolderLoop::LoopFoldersEx(long Level, long lFirst, long lLast)
{
    for (long p = lFirst; p <= lLast; ++p) {
        const bool bRead = common::Logging(kModule, "LoopFoldersEx", [&] {
            auto oFolder = m_oFolders->Item(rt::Variant(static_cast<std::int32_t>(p)));
            if (!oFolder)
                return;
            auto oItem = std::make_shared<Item>();
            if (oItem->Init(oFolder, Level, {}))
                m_colResult.push_back(oItem);
            else
                m_bErrorOccured = true;
        });
        if (!bRead)
            m_bErrorOccured = true;
    }
}

void cLimitedFolderLoop::LoopStores()
{
    common::Rethrowing(kModule, "LoopStores", [&] {
        m_bErrorOccured = false;
        if (m_oDialog && m_oDialog->DefaultStoreOnly()) {
            LoopDefaultStoreOnly();
            return;
        }
        m_oStores = modRedemption::g_Session()->GetStores();
        const bool bFilter =
            m_oDialog && m_oDialog->LimitStores() && m_oDialog->LimitStores()->Count() > 0;
        ForEachChunk(m_oStores->Count(),
                     [&](long lFirst, long lLast) { LoopStoresEx(lFirst, lLast, bFilter); });
    });
}

bool cLimitedFolderLoop::IsStoreShown(long lKind, const std::string& sStoreID, bool bFilter) const
{
    if (!IsStoreKindShown(lKind, m_oDialog ? m_oDialog->ShowStoreKind() : fskAll))
        return false;
    return !bFilter || !m_oDialog->LimitStores()->Item(rt::Variant(sStoreID)).empty();
}

void cLimitedFolderLoop::LoopStoresEx(long lFirst, long lLast, bool bFilter)
{
    for (long p = lFirst; p <= lLast; ++p) {
        const bool bRead = common::Logging(kModule, "LoopStoresEx", [&] {
            auto oStore = m_oStores->Item(rt::Variant(static_cast<std::int32_t>(p)));
            if (!IsStoreShown(oStore->StoreKind(), oStore->StoreID(), bFilter))
                return;
            if (!AppendStoreRoot(*oStore))
                m_bErrorOccured = true;
        });
        if (!bRead)
            m_bErrorOccured = true;
    }
}

void cLimitedFolderLoop::LoopDefaultStoreOnly()
{
    // A failure here is logged, leaves ErrorOccured as it is and appends nothing.
    common::Logging(kModule, "LoopDefaultStoreOnly", [&] {
        AppendStoreRoot(*modRedemption::g_Session()->GetStores()->DefaultStore());
    });
}

bool cLimitedFolderLoop::AppendStoreRoot(platform::mapi::Store& oStore)
{
    auto oRoot = oStore.RootFolder();
    if (!oRoot)
        return true;
    auto oItem = std::make_shared<Item>();
    if (!oItem->Init(oRoot, 0, oStore.Name()))
        return false;
    m_colResult.push_back(oItem);
    return true;
}

} // namespace folderpicker::detail
